// Primality and factorisation of numbers below 2^128 without a table
// (_5_primetstx, _5_prmfctx) against `gp`'s isprime and factor, in process.
//
//   cmake -S . -B build/bench -DQ64_BENCH=ON -DQ64_TESTS=OFF
//   cmake --build build/bench --target factor_bench
//   build/bench/bench/factor_bench [--csv] [--rounds R] [--count C]
//   build/bench/bench/factor_bench --certificate N
//   build/bench/bench/factor_bench --worst SECONDS
//
// Series (C numbers each, default 24, fixed seed; 4C primes, 32C odd random
// numbers): isprime on primes of 64 and of 128 bits and on odd random numbers
// of 128 bits; factor on random numbers and on products of two primes of
// half the size, 64 to 128 bits.
// In each of R (3) interleaved rounds every series is timed here (CPU time
// of the process; the primality series loop over their list until 50 ms
// have passed) and then by one gp process that runs the same list inside a
// loop timed with getabstime() until it lasts 200 ms, so that gp's start
// does not count. Reported: the best round of each side per number, their
// means and the ratio ours / gp. Every factorisation is checked (a product
// of ascending primes that GMP calls prime). --csv prints the rows
// `figure,size,ours_s,peer,peer_s` instead (figures isprime_prime,
// isprime_random, factor_random, factor_semiprime; size in bits).
//
// --certificate N prints the certificate that proves N prime, and those of
// its factors of 2^64 or more in turn. --worst SECONDS searches for the
// slowest numbers (bench/factor_worst.h) and prints the slowest of each kind.
#include <gmp.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "bench/factor_bench_support.h"
#include "q64/m5_primequery.h"

namespace {

using namespace factorbench;

struct Series {
    const char* figure;
    const char* gpCall;  // isprime or factor
    int bits;
    bool isPrimeSeries;
    std::vector<u128> numbers;
    std::vector<double> best;  // per number, seconds
    double gpBest = 1e300;     // seconds per number
};

// Seconds per number of our primality test over the list.
double timePrimality(const std::vector<u128>& numbers) {
    const double start = bench::cpuSeconds();
    uint64_t passes = 0;
    do {
        for (u128 n : numbers) bench::sink = static_cast<uint64_t>(_5_primetstx(lo(n), hi(n)));
        ++passes;
    } while (bench::cpuSeconds() - start < 0.05);
    return (bench::cpuSeconds() - start) / static_cast<double>(passes * numbers.size());
}

void timeSeries(Series& s) {
    if (s.isPrimeSeries) {
        const double each = timePrimality(s.numbers);
        for (double& b : s.best) b = std::min(b, each);
        return;
    }
    static FactorList list;
    for (size_t i = 0; i < s.numbers.size(); ++i) {
        const u128 n = s.numbers[i];
        const double start = bench::cpuSeconds();
        _5_prmfctx(&list, lo(n), hi(n));
        s.best[i] = std::min(s.best[i], bench::cpuSeconds() - start);
        checkFactorList(n, list);
    }
}

std::vector<Series> makeSeries(int count) {
    gmp_randstate_t state;
    gmp_randinit_mt(state);
    gmp_randseed_ui(state, 20261220);
    std::vector<Series> all;
    // The primality series take more numbers: their times vary more from
    // number to number (a proof's cost depends on how n - 1 and n + 1
    // factor), and each costs little; among odd random numbers only one in
    // 44 is prime, and those dominate the time.
    auto add = [&](const char* figure, const char* call, int bits, bool prime, std::function<u128()> make,
                   int times = 1) {
        const int size = times * count;
        Series s{figure, call, bits, prime, {}, std::vector<double>(static_cast<size_t>(size), 1e300)};
        for (int i = 0; i < size; ++i) s.numbers.push_back(make());
        all.push_back(s);
    };
    add("isprime_prime", "isprime", 64, true, [&] { return randomPrime(state, 64); }, 4);
    add("isprime_prime", "isprime", 128, true, [&] { return randomPrime(state, 128); }, 4);
    add("isprime_random", "isprime", 128, true, [&] { return randomBits(state, 128) | 1; }, 32);
    for (int bits = 64; bits <= 128; bits += 16)
        add("factor_random", "factor", bits, false, [&, bits] { return randomBits(state, bits); });
    for (int bits = 64; bits <= 128; bits += 8)
        add("factor_semiprime", "factor", bits, false,
            [&, bits] { return randomPrime(state, bits / 2) * randomPrime(state, bits - bits / 2); });
    gmp_randclear(state);
    return all;
}

int benchmark(bool csv, int rounds, int count) {
    std::vector<Series> all = makeSeries(count);
    for (int r = 0; r < rounds; ++r) {
        for (Series& s : all) {
            timeSeries(s);
            const double gp = gpSecondsPerNumber(s.gpCall, s.numbers);
            if (gp >= 0) s.gpBest = std::min(s.gpBest, gp);
        }
    }
    if (csv) std::printf("figure,size,ours_s,peer,peer_s\n");
    else std::printf("%-17s %5s %12s %12s %12s %8s\n", "series", "bits", "ours mean", "ours max", "gp mean", "ratio");
    for (const Series& s : all) {
        double mean = 0, max = 0;
        for (double t : s.best) {
            mean += t;
            max = std::max(max, t);
        }
        mean /= static_cast<double>(s.best.size());
        const double gp = s.gpBest < 1e300 ? s.gpBest : 0.0;
        if (csv)
            std::printf("%s,%d,%.9f,gp,%.9f\n", s.figure, s.bits, mean, gp);
        else
            std::printf("%-17s %5d %9.4f ms %9.4f ms %9.4f ms %8.3f\n", s.figure, s.bits, mean * 1e3, max * 1e3,
                        gp * 1e3, gp > 0 ? mean / gp : 0.0);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    bool csv = false;
    int rounds = 3, count = 24;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--csv") == 0) {
            csv = true;
        } else if (std::strcmp(argv[i], "--rounds") == 0 && i + 1 < argc) {
            rounds = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--count") == 0 && i + 1 < argc) {
            count = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--certificate") == 0 && i + 1 < argc) {
            return printCertificate(argv[++i]);
        } else if (std::strcmp(argv[i], "--worst") == 0 && i + 1 < argc) {
            return searchWorst(std::atof(argv[++i]));
        } else {
            std::fprintf(stderr,
                         "usage: factor_bench [--csv] [--rounds R] [--count C] | --certificate N | --worst SECONDS\n");
            return 2;
        }
    }
    return benchmark(csv, rounds, count);
}
