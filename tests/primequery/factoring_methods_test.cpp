// Each factoring method on its own, swept over the sizes it serves: trial
// division by inverses against plain remainders, perfect powers and modular
// inverses against GMP, and the splitting methods (SQUFOF, Pollard's rho,
// the elliptic curve method on one and two words, the complete split) on
// products of two primes of every size they are meant for.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>

#include "primequery/factoring/ecm.h"
#include "primequery/factoring/factor_engine.h"
#include "primequery/factoring/modular_inverse.h"
#include "primequery/factoring/odd_primes.h"
#include "primequery/factoring/perfect_power.h"
#include "primequery/factoring/pollard_rho.h"
#include "primequery/factoring/squfof.h"
#include "primequery/factoring/trial_division.h"
#include "tests/primequery/test_numbers.h"

namespace {

using testnum::dec;
using testnum::make;
using testnum::Mpz;
using u128 = unsigned __int128;

u128 primeOfBits(std::mt19937_64& gen, int bits) {
    return testnum::gmpNextPrime(testnum::between(gen, u128{1} << (bits - 1), (u128{1} << (bits - 1)) * 3 / 2));
}

TEST(FactoringMethods, DivisibilityByInversesMatchesRemainders) {
    std::mt19937_64 gen(101);
    SCOPED_TRACE(101);
    for (int i = 0; i < factoring::kOddPrimeCount; i += (i < 200 ? 1 : 7)) {
        const uint64_t p = factoring::oddPrime(i);
        for (int k = 0; k < 12; ++k) {
            const u128 multiple = make(gen(), gen() >> (gen() % 64)) / p * p;
            for (u128 x : {multiple, multiple + 1, multiple - 1, make(gen(), 0), make(gen(), gen()), ~u128{0}}) {
                ASSERT_EQ(factoring::divides(i, x), x % p == 0) << dec(x) << " by " << p;
                ASSERT_EQ(factoring::divides128(i, x), x % p == 0) << dec(x) << " by " << p;
                if (x % p == 0) {
                    ASSERT_EQ(factoring::exactQuotient(i, x), x / p);
                }
            }
        }
    }
    // Dividing out against plain trial division, on numbers with many small factors.
    for (int i = 0; i < 300; ++i) {
        u128 n = 1;
        while (n < (u128{1} << 100)) n *= 3 + 2 * (gen() % 2000);
        factoring::PrimeFactors found;
        u128 rest = n;
        factoring::divideOutOddPrimes(&rest, 0, factoring::kOddPrimeCount, &found);
        u128 plain = n, product = 1;
        for (uint64_t d = 3; d * d <= plain; d += 2)
            while (plain % d == 0) plain /= d;
        for (unsigned k = 0; k < found.count; ++k) product *= found.prime[k];
        ASSERT_EQ(product * rest, n) << dec(n);
        ASSERT_TRUE(rest == 1 || rest == plain) << dec(n);
    }
}

TEST(FactoringMethods, PerfectPowersAndInverses) {
    std::mt19937_64 gen(102);
    SCOPED_TRACE(102);
    for (int i = 0; i < 3000; ++i) {
        const unsigned k = 2 + static_cast<unsigned>(gen() % 6);  // roots of 17 bits and more
        const int spare = 128 / static_cast<int>(k) - 16;
        const int rootBits = 17 + static_cast<int>(gen() % static_cast<uint64_t>(spare));
        // A root without prime factors below 2^16, as the contract asks.
        const u128 r = testnum::gmpNextPrime((make(gen(), gen()) >> (128 - rootBits)) | (u128{1} << (rootBits - 1)));
        u128 n = 1;
        bool fits = true;
        for (unsigned e = 0; e < k && fits; ++e) {
            fits = n <= ~u128{0} / r;
            n *= r;
        }
        if (!fits) continue;
        u128 root;
        const unsigned found = factoring::perfectPower(n, 65537, &root);
        ASSERT_EQ(found, k) << dec(r) << "^" << k;
        ASSERT_EQ(root, r);
        ASSERT_EQ(factoring::perfectPower(n + 2, 65537, &root), 1u) << dec(n + 2);
        // Inverses modulo an odd n against GMP.
        const u128 m = make(gen(), gen() >> (gen() % 64)) | 1, a = make(gen(), gen()) % m;
        u128 inverse = 0;
        Mpz za(a), zm(m), zg, zi;
        mpz_gcd(zg.ptr(), za.ptr(), zm.ptr());
        ASSERT_EQ(factoring::inverseOrGcd<u128>(a, m, &inverse), a == 0 ? m : zg.get());
        if (zg.get() == 1 && m > 1 && a != 0) {
            mpz_invert(zi.ptr(), za.ptr(), zm.ptr());
            ASSERT_EQ(inverse, zi.get()) << dec(a) << " mod " << dec(m);
        }
    }
}

struct SplitMethod {
    std::string name;
    std::function<u128(u128)> split;  // a factor, or 0
    int minBits, maxBits;             // of n
    int maxFactorBits;                // of the smaller prime
    int mustFind;                     // of every 10 numbers, at least this many split
};

TEST(FactoringMethods, SplittingMethodsSweepTheirSizes) {
    const SplitMethod methods[] = {
        {"SQUFOF", [](u128 n) { return u128{factoring::squfofFactor(static_cast<uint64_t>(n))}; }, 34, 62, 31, 10},
        {"rho", [](u128 n) { return factoring::rhoFactor(n, uint64_t{1} << 22); }, 34, 128, 28, 10},
        {"ECM, one word",
         [](u128 n) {
             uint64_t sigma = 6;
             return factoring::ecmFactor(n, 2, 30, &sigma);
         },
         34, 64, 32, 10},
        {"ECM, two words",
         [](u128 n) {
             uint64_t sigma = 6;
             return factoring::ecmFactor(n, 1, 20, &sigma);
         },
         66, 128, 24, 9},
        {"complete split", [](u128 n) { return factoring::splitComposite(n); }, 34, 128, 64, 10},
    };
    std::mt19937_64 gen(103);
    SCOPED_TRACE(103);
    for (const SplitMethod& m : methods) {
        for (int bits = m.minBits; bits <= m.maxBits; bits += 9) {
            int found = 0;
            for (int i = 0; i < 10; ++i) {
                const int a = 17 + static_cast<int>(gen() % static_cast<uint64_t>(std::min(m.maxFactorBits, bits / 2) - 16));
                const u128 p = primeOfBits(gen, a), q = primeOfBits(gen, bits - a);
                if (p == q) continue;
                const u128 f = m.split(p * q);
                if (f != 0) {
                    ASSERT_TRUE(f == p || f == q) << m.name << ": " << dec(p) << " * " << dec(q) << " gave " << dec(f);
                    ++found;
                }
            }
            EXPECT_GE(found, m.mustFind) << m.name << " at " << bits << " bits";
        }
    }
}

}  // namespace
