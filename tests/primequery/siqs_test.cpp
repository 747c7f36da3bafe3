// The quadratic sieve on composites made with GMP, at every size it serves:
// balanced semiprimes, uneven splits, three primes, and primes just above the
// trial bound times a large prime. Each answer must be a proper divisor.
#include <gtest/gtest.h>

#include <random>

#include "primequery/factoring/siqs.h"
#include "tests/primequery/test_numbers.h"

namespace {

using testnum::dec;
using u128 = unsigned __int128;

int bitLength(u128 x) {
    int bits = 0;
    for (; x != 0; x >>= 1) ++bits;
    return bits;
}

// A prime of exactly `bits` bits (2 <= bits <= 127).
u128 randomPrime(std::mt19937_64& gen, int bits) {
    const u128 low = static_cast<u128>(1) << (bits - 1);
    for (;;) {
        u128 p = testnum::gmpNextPrime(testnum::between(gen, low, 2 * low - low / 8));
        if (bitLength(p) == bits) return p;
    }
}

// The primes making a composite of about `bits` bits, by shape.
enum class Shape { kBalanced, kTwoToThree, kThreePrimes, kTrialBoundTimesLarge };

u128 composite(std::mt19937_64& gen, int bits, Shape shape) {
    switch (shape) {
        case Shape::kBalanced:
            return randomPrime(gen, bits / 2) * randomPrime(gen, bits - bits / 2);
        case Shape::kTwoToThree:
            return randomPrime(gen, bits * 2 / 5) * randomPrime(gen, bits - bits * 2 / 5);
        case Shape::kThreePrimes:
            return randomPrime(gen, bits / 3) * randomPrime(gen, bits / 3) * randomPrime(gen, bits - 2 * (bits / 3));
        case Shape::kTrialBoundTimesLarge: {
            u128 small = testnum::gmpNextPrime(factoring::kSiqsTrialBound - 1 + gen() % 3);
            u128 large = randomPrime(gen, bits - bitLength(small));
            return small * large;
        }
    }
    return 0;
}

TEST(Siqs, ProperDivisorAtEverySize) {
#ifdef Q64_CHECKS
    const int step = 11, seeds = 1;  // the sanitizer build: fewer sizes
#else
    const int step = 4, seeds = 2;
#endif
    const Shape shapes[] = {Shape::kBalanced, Shape::kTwoToThree, Shape::kThreePrimes, Shape::kTrialBoundTimesLarge};
    for (int bits = factoring::kSiqsMinBits; bits <= 128; bits += (bits + step > 128 && bits < 128) ? 128 - bits : step) {
        for (int seed = 0; seed < seeds; ++seed) {
            for (Shape shape : shapes) {
                std::mt19937_64 gen(static_cast<uint64_t>(bits * 131 + seed * 7 + static_cast<int>(shape)));
                const u128 n = composite(gen, bits, shape);
                const u128 f = factoring::siqsFactor(n);
                ASSERT_TRUE(f > 1 && f < n && n % f == 0)
                    << "n = " << dec(n) << " (" << bits << " bits, seed " << seed << ", shape "
                    << static_cast<int>(shape) << ") gave " << dec(f);
            }
        }
    }
}

}  // namespace
