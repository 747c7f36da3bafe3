// The odd primes below 2^16 with what a divisibility test by multiplication
// needs (internal, C++ only): for odd p, p divides x exactly when
// x p^-1 mod 2^k <= (2^k - 1)/p, for x below 2^k (k = 64 or 128). One or
// three products and a comparison replace a division.
#pragma once

#include <cstdint>

#include "numlib/m0_utilities/u128.h"

namespace factoring {

using wordmath::u128;

inline constexpr int kOddPrimeCount = 6541;  // 3, 5, ..., 65521
inline constexpr uint32_t kOddPrimeLimit = 65536;

struct OddPrimeTable {
    uint32_t prime[kOddPrimeCount];
    u128 inverse[kOddPrimeCount];    // p^-1 mod 2^128; its low word is p^-1 mod 2^64
    u128 maxQuotient[kOddPrimeCount];  // (2^128 - 1)/p
    uint64_t maxQuotient64[kOddPrimeCount];  // (2^64 - 1)/p
};

extern const OddPrimeTable kOddPrimes;

inline uint32_t oddPrime(int i) { return kOddPrimes.prime[i]; }

// Whether the i-th odd prime divides x.
inline bool divides64(int i, uint64_t x) {
    return x * wordmath::lo64(kOddPrimes.inverse[i]) <= kOddPrimes.maxQuotient64[i];
}
inline bool divides128(int i, u128 x) { return x * kOddPrimes.inverse[i] <= kOddPrimes.maxQuotient[i]; }
inline bool divides(int i, u128 x) {
    return wordmath::hi64(x) == 0 ? divides64(i, wordmath::lo64(x)) : divides128(i, x);
}
// x / p for a multiple x of the i-th odd prime: the product by the inverse is
// the exact quotient.
inline u128 exactQuotient(int i, u128 x) { return x * kOddPrimes.inverse[i]; }

// The index of the first odd prime above `bound`, for bound below 2^16
// (kOddPrimeCount when there is none).
int oddPrimeIndexAbove(uint32_t bound);

}  // namespace factoring
