// factor_bench's search for the slowest numbers and its certificate printer.
//
// The search cycles through kinds of numbers that are hard for some part of
// the factorisation, each drawn afresh (GMP, fixed seed) and factored by
// _5_prmfctx, timed in CPU seconds, for the given time: balanced and
// unbalanced semiprimes at every split (the quadratic sieve, the elliptic
// curve method), primes n whose n - 1 is 2 times two primes of about 63 bits
// (the proof must split a 126-bit semiprime), safe primes 2q + 1 (the proof
// of q follows), products of three primes of about 42 bits, squares and
// cubes of primes, and random numbers of random sizes. Printed: per kind
// the count, mean and slowest time and the slowest number.
#pragma once

#include <cinttypes>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "primequery/proof/proven_prime.h"

namespace factorbench {

inline void printOneCertificate(u128 n, std::vector<u128>* bigFactors) {
    proof::PrimeCertificate c;
    if (!proof::certifyPrime(n, &c)) {
        std::printf("%s is composite\n", dec(n).c_str());
        return;
    }
    const bool minus = c.side < 0;
    u128 f = 1;
    for (unsigned i = 0; i < c.count; ++i)
        for (unsigned e = 0; e < c.exponent[i]; ++e) f *= c.prime[i];
    const u128 g = minus ? f : f - 1;  // the theorem's bound: F or F - 1
    std::printf("n = %s\n  n %c 1 = F R with F = %s, R = %s\n", dec(n).c_str(), minus ? '-' : '+', dec(f).c_str(),
                dec((minus ? n - 1 : n + 1) / f).c_str());
    std::printf("  %s\n", minus ? (g > n / g ? "F^2 > n: Pocklington" : "F^3 > n >= F^2: Pocklington, the square test of Brillhart, Lehmer and Selfridge")
                                : (g > n / g ? "(F - 1)^2 > n: Morrison" : "(F - 1)^3 > n: Morrison, no factors aF + e, bF - e"));
    if (!minus) std::printf("  Lucas sequence P = %" PRIu64 ", Q = 1: n divides U_(n+1)\n", c.lucasP);
    for (unsigned i = 0; i < c.count; ++i) {
        if (minus)
            std::printf("  q = %s^%u, a = %" PRIu64 ": a^(n-1) = 1, gcd(a^((n-1)/q) - 1, n) = 1\n",
                        dec(c.prime[i]).c_str(), c.exponent[i], c.witness[i]);
        else if (c.prime[i] == 2 && c.exponent[i] == 1)
            std::printf("  q = 2^1: no condition (p - (D/p) is even for every odd p)\n");
        else
            std::printf("  q = %s^%u: gcd(U_((n+1)/%s), n) = 1\n", dec(c.prime[i]).c_str(), c.exponent[i],
                        c.prime[i] == 2 ? "4" : "q");
        if (hi(c.prime[i]) != 0) bigFactors->push_back(c.prime[i]);
    }
    const proof::CheckOutcome outcome = proof::checkCertificate(c);
    std::printf("  check: %s\n", outcome.result == proof::CheckResult::kPrime ? "proven prime" : "FAILED");
}

inline int printCertificate(const char* text) {
    std::vector<u128> pending{parse(text)};
    if (hi(pending[0]) == 0) {
        std::printf("%s is below 2^64: Baillie-PSW decides (%s)\n", text,
                    _5_primetstx(lo(pending[0]), 0) == 0 ? "prime" : "not prime");
        return 0;
    }
    while (!pending.empty()) {
        const u128 n = pending.back();
        pending.pop_back();
        printOneCertificate(n, &pending);
    }
    return 0;
}

struct WorstKind {
    const char* name;
    std::function<u128(gmp_randstate_t)> make;
    int count = 0;
    double total = 0, max = 0;
    u128 slowest = 0;
};

// A prime 2 q r + 1 near 2^128 with q, r primes of 63 bits.
inline u128 primeWithHardNMinus1(gmp_randstate_t state) {
    for (;;) {
        const u128 n = 2 * randomPrime(state, 63) * randomPrime(state, 64) + 1;
        if (gmpPrime(n)) return n;
    }
}

// A safe prime 2q + 1 of 128 bits.
inline u128 safePrime(gmp_randstate_t state) {
    for (;;) {
        const u128 q = randomPrime(state, 127);
        if (gmpPrime(2 * q + 1)) return 2 * q + 1;
    }
}

inline int searchWorst(double seconds) {
    gmp_randstate_t state;
    gmp_randinit_mt(state);
    gmp_randseed_ui(state, 20261221);
    uint64_t step = 0;
    std::vector<WorstKind> kinds = {
        {"semiprime, any split", [&](gmp_randstate_t s) {
             const int bits = 64 + static_cast<int>(step % 65), a = 17 + static_cast<int>((step / 65) % (bits / 2 - 16));
             return randomPrime(s, a) * randomPrime(s, bits - a);
         }},
        {"semiprime, balanced 128", [](gmp_randstate_t s) { return randomPrime(s, 64) * randomPrime(s, 64); }},
        {"prime, n-1 = 2 q r", [](gmp_randstate_t s) { return primeWithHardNMinus1(s); }},
        {"safe prime, 128 bits", [](gmp_randstate_t s) { return safePrime(s); }},
        {"three primes of 42 bits", [](gmp_randstate_t s) {
             return randomPrime(s, 42) * randomPrime(s, 42) * randomPrime(s, 43);
         }},
        {"prime squares and cubes", [&](gmp_randstate_t s) {
             const u128 p = randomPrime(s, step % 2 ? 42 : 64);
             return step % 2 ? p * p * p : p * p;
         }},
        {"random, any size", [&](gmp_randstate_t s) { return randomBits(s, 2 + static_cast<int>(step % 127)); }},
    };
    static FactorList list;
    const double start = bench::cpuSeconds();
    while (bench::cpuSeconds() - start < seconds) {
        for (WorstKind& k : kinds) {
            const u128 n = k.make(state);
            const double t0 = bench::cpuSeconds();
            _5_prmfctx(&list, lo(n), hi(n));
            const double t = bench::cpuSeconds() - t0;
            checkFactorList(n, list);
            ++k.count;
            k.total += t;
            if (t > k.max) {
                k.max = t;
                k.slowest = n;
            }
        }
        ++step;
    }
    gmp_randclear(state);
    std::printf("%-26s %7s %11s %11s  %s\n", "kind", "count", "mean", "slowest", "slowest number");
    for (const WorstKind& k : kinds)
        std::printf("%-26s %7d %8.3f ms %8.3f ms  %s\n", k.name, k.count, k.total / k.count * 1e3, k.max * 1e3,
                    dec(k.slowest).c_str());
    return 0;
}

}  // namespace factorbench
