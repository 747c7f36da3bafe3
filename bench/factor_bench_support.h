// What factor_bench shares among its modes: 128-bit numbers and their text,
// random primes from GMP, the check of a factor list, and gp as the peer.
#pragma once

#include <gmp.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "q64/m0_utilities.h"
#include "q64/m5_primequery.h"

namespace factorbench {

using u128 = unsigned __int128;

inline uint64_t lo(u128 x) { return static_cast<uint64_t>(x); }
inline uint64_t hi(u128 x) { return static_cast<uint64_t>(x >> 64); }

// The decimal text, by the library's own conversion.
inline std::string dec(u128 x) {
    char digits[40];
    return std::string(digits, _0_numq2tostr(digits, lo(x), hi(x)));
}

inline u128 parse(const char* text) {
    u128 x = 0;
    for (; *text >= '0' && *text <= '9'; ++text) x = 10 * x + static_cast<unsigned>(*text - '0');
    return x;
}

// x as a GMP value (bench::Mpz takes words most significant first), and back.
inline bench::Words words(u128 x) { return bench::Words{hi(x), lo(x)}; }
inline u128 value(bench::Mpz& z) {
    uint64_t w[2] = {0, 0};
    size_t count = 0;
    mpz_export(w, &count, -1, sizeof(uint64_t), 0, 0, z);
    return (static_cast<u128>(w[1]) << 64) | w[0];
}

inline bool gmpPrime(u128 x) {
    bench::Mpz z(words(x));
    return mpz_probab_prime_p(z, 40) != 0;
}

// A random number of exactly `bits` bits.
inline u128 randomBits(gmp_randstate_t state, int bits) {
    bench::Mpz z;
    mpz_urandomb(z, state, static_cast<mp_bitcnt_t>(bits - 1));
    mpz_setbit(z, static_cast<mp_bitcnt_t>(bits - 1));
    return value(z);
}

// A prime of exactly `bits` bits.
inline u128 randomPrime(gmp_randstate_t state, int bits) {
    for (;;) {
        bench::Mpz z(words(randomBits(state, bits)));
        mpz_nextprime(z, z);
        if (mpz_sizeinbase(z, 2) == static_cast<size_t>(bits)) return value(z);
    }
}

// Stops the program unless the list holds ascending primes whose product is n.
inline void checkFactorList(u128 n, const FactorList& list) {
    u128 product = 1, previous = 0;
    bool good = true;
    for (uint64_t i = 0; i < factorCount(&list); ++i) {
        good = good && list.word[i] >= previous && gmpPrime(list.word[i]);
        previous = list.word[i];
        product *= list.word[i];
    }
    if (cofactorCount(&list) == 1) {
        const uint64_t at = factorCount(&list);
        const u128 cofactor = (static_cast<u128>(list.word[at + 1]) << 64) | list.word[at];
        good = good && gmpPrime(cofactor) && hi(cofactor) != 0;
        product *= cofactor;
    }
    if (!good || product != n) {
        std::fprintf(stderr, "FAILED: the factorisation of %s\n", dec(n).c_str());
        std::exit(1);
    }
}

// gp's seconds per number for `call` (isprime or factor) over the numbers,
// timed inside gp with getabstime() over as many passes as make 200 ms;
// negative when gp could not be run.
inline double gpSecondsPerNumber(const char* call, const std::vector<u128>& numbers) {
    char path[] = "/tmp/factor_bench_XXXXXX";
    const int fd = mkstemp(path);
    if (fd < 0) return -1;
    std::string script = "default(parisize, 64000000);\nv=[";
    for (size_t i = 0; i < numbers.size(); ++i) {
        if (i != 0) script += ',';
        script += dec(numbers[i]);
    }
    script += "];\nreps=1;while(1,t=getabstime();for(r=1,reps,for(i=1,#v," + std::string(call) +
              "(v[i])));e=getabstime()-t;if(e>=200,break);reps*=2);\nprint(e/reps/#v*1.);\nquit\n";
    const bool written = write(fd, script.data(), script.size()) == static_cast<ssize_t>(script.size());
    close(fd);
    double ms = -1;
    if (written) {
        const std::string command = std::string("gp -q -f ") + path + " </dev/null 2>/dev/null";
        if (FILE* pipe = popen(command.c_str(), "r")) {
            if (std::fscanf(pipe, "%lf", &ms) != 1) ms = -1;
            pclose(pipe);
        }
    }
    unlink(path);
    return ms < 0 ? -1 : ms * 1e-3;
}

// Defined in factor_worst.h.
int printCertificate(const char* text);
int searchWorst(double seconds);

}  // namespace factorbench

#include "bench/factor_worst.h"
