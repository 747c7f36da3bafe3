// The quadratic sieve against `gp`'s factor on balanced semiprimes by size.
//
//   cmake -S . -B build/bench -DQ64_BENCH=ON -DQ64_TESTS=OFF
//   cmake --build build/bench --target siqs_bench
//   build/bench/bench/siqs_bench [--csv] [--rounds R] [--count C] [--bits B ...]
//
// For each size (60, 64, ..., 128 bits by default) it makes C (20) products
// of two primes of half the size each (GMP, fixed seed). In each of R (3)
// interleaved rounds it times every number once in this process (CPU time of
// the process around siqsFactor) and runs one gp process per size that
// factors all the numbers of that size, timing the loop inside gp with
// getabstime(), gp's CPU time (the loop repeats until it lasts 200 ms), so
// that the process start does not count. CPU time, on both sides, because
// the wall clock of a shared machine counts the other processes' turns too.
// Reported per size: our mean and slowest number (each number's best round),
// gp's mean (best round), and the ratio ours / gp; then the slowest number
// seen in any round. Every answer is checked to divide n. --csv prints the
// rows `figure,size,ours_s,peer,peer_s` (figure factor_semiprime) instead.
#include <gmp.h>
#include <unistd.h>

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "primequery/factoring/siqs.h"

namespace {

using u128 = unsigned __int128;

std::string dec(u128 x) {
    char digits[40];
    int at = 40;
    do {
        digits[--at] = static_cast<char>('0' + static_cast<int>(x % 10));
        x /= 10;
    } while (x != 0);
    return std::string(digits + at, digits + 40);
}

u128 toU128(const mpz_t z) {
    uint64_t w[2] = {0, 0};
    size_t count = 0;
    mpz_export(w, &count, -1, sizeof(uint64_t), 0, 0, z);
    return (static_cast<u128>(w[1]) << 64) | w[0];
}

// A prime of exactly `bits` bits.
u128 randomPrime(gmp_randstate_t state, int bits) {
    bench::Mpz z;
    for (;;) {
        mpz_urandomb(z, state, static_cast<mp_bitcnt_t>(bits - 1));
        mpz_setbit(z, static_cast<mp_bitcnt_t>(bits - 1));
        mpz_nextprime(z, z);
        if (mpz_sizeinbase(z, 2) == static_cast<size_t>(bits)) return toU128(z);
    }
}

struct Size {
    int bits;
    std::vector<u128> numbers;
    std::vector<double> best;  // per number, seconds
    double worstSeen = 0;
    u128 worstNumber = 0;
    double gpBest = 1e300;     // seconds per number
};

// gp's mean seconds per number over the numbers, timed inside gp; negative
// when gp could not be run.
double runGp(const std::vector<u128>& numbers) {
    char path[] = "/tmp/siqs_bench_XXXXXX";
    int fd = mkstemp(path);
    if (fd < 0) return -1;
    std::string script = "v=[";
    for (size_t i = 0; i < numbers.size(); ++i) {
        if (i != 0) script += ',';
        script += dec(numbers[i]);
    }
    script +=
        "];\nreps=1;while(1,t=getabstime();for(r=1,reps,for(i=1,#v,factor(v[i])));e=getabstime()-t;"
        "if(e>=200,break);reps*=2);\nprint(e/reps/#v*1.);\nquit\n";
    bool written = write(fd, script.data(), script.size()) == static_cast<ssize_t>(script.size());
    close(fd);
    double ms = -1;
    if (written) {
        std::string command = std::string("gp -q -f ") + path + " </dev/null 2>/dev/null";
        FILE* pipe = popen(command.c_str(), "r");
        if (pipe != nullptr) {
            if (std::fscanf(pipe, "%lf", &ms) != 1) ms = -1;
            pclose(pipe);
        }
    }
    unlink(path);
    return ms < 0 ? -1 : ms * 1e-3;
}

void timeOurs(Size& size) {
    for (size_t i = 0; i < size.numbers.size(); ++i) {
        const u128 n = size.numbers[i];
        const double start = bench::cpuSeconds();
        const u128 f = factoring::siqsFactor(n);
        const double s = bench::cpuSeconds() - start;
        if (f <= 1 || f >= n || n % f != 0) {
            std::fprintf(stderr, "FAILED: %s (%d bits) gave %s\n", dec(n).c_str(), size.bits, dec(f).c_str());
            std::exit(1);
        }
        size.best[i] = std::min(size.best[i], s);
        if (s > size.worstSeen) {
            size.worstSeen = s;
            size.worstNumber = n;
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    bool csv = false;
    int rounds = 3, count = 20;
    std::vector<int> bits;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--csv") == 0) csv = true;
        else if (std::strcmp(argv[i], "--rounds") == 0 && i + 1 < argc) rounds = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--count") == 0 && i + 1 < argc) count = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--bits") == 0 && i + 1 < argc) bits.push_back(std::atoi(argv[++i]));
        else {
            std::fprintf(stderr, "usage: siqs_bench [--csv] [--rounds R] [--count C] [--bits B ...]\n");
            return 2;
        }
    }
    if (bits.empty())
        for (int b = 60; b <= 128; b += 4) bits.push_back(b);
    gmp_randstate_t state;
    gmp_randinit_mt(state);
    gmp_randseed_ui(state, 20261219);
    std::vector<Size> sizes;
    for (int b : bits) {
        Size s{b, {}, std::vector<double>(static_cast<size_t>(count), 1e300)};
        for (int i = 0; i < count; ++i) s.numbers.push_back(randomPrime(state, b / 2) * randomPrime(state, b - b / 2));
        sizes.push_back(s);
    }
    gmp_randclear(state);
    const uint64_t retries0 = factoring::siqsStats().retries;
    for (int r = 0; r < rounds; ++r) {
        for (Size& s : sizes) {
            timeOurs(s);
            double gp = runGp(s.numbers);
            if (gp >= 0) s.gpBest = std::min(s.gpBest, gp);
        }
    }
    if (csv) std::printf("figure,size,ours_s,peer,peer_s\n");
    else std::printf("%5s %12s %12s %12s %8s\n", "bits", "ours mean", "ours max", "gp mean", "ratio");
    Size* worst = nullptr;
    for (Size& s : sizes) {
        double mean = 0, max = 0;
        for (double t : s.best) {
            mean += t;
            max = std::max(max, t);
        }
        mean /= static_cast<double>(s.best.size());
        const bool haveGp = s.gpBest < 1e300;
        if (csv) {
            std::printf("factor_semiprime,%d,%.9f,gp,%.9f\n", s.bits, mean, haveGp ? s.gpBest : 0.0);
        } else {
            std::printf("%5d %9.3f ms %9.3f ms %9.3f ms %8.3f\n", s.bits, mean * 1e3, max * 1e3,
                        haveGp ? s.gpBest * 1e3 : 0.0, haveGp ? mean / s.gpBest : 0.0);
        }
        if (worst == nullptr || s.worstSeen > worst->worstSeen) worst = &s;
    }
    if (!csv && worst != nullptr) {
        std::printf("slowest number seen in any round: %s (%d bits), %.3f ms\n", dec(worst->worstNumber).c_str(),
                    worst->bits, worst->worstSeen * 1e3);
        std::printf("matrix runs after a first that split nothing: %" PRIu64 " over %d factorisations\n",
                    factoring::siqsStats().retries - retries0, rounds * count * static_cast<int>(sizes.size()));
    }
    return 0;
}
