// Baillie–PSW on Montgomery residues after a divisibility check by the odd
// primes up to 53; exact below 2^64.
#include "numlib/m0_utilities/prime_test64.h"

#include "numlib/m0_utilities/probable_prime.h"

namespace wordmath {
namespace {

// An odd prime p with its inverse modulo 2^64 and the largest quotient
// (2^64 - 1)/p: p divides x exactly when x p^-1 mod 2^64 <= that quotient.
struct OddDivisor {
    uint64_t inverse, maxQuotient;
};

constexpr OddDivisor oddDivisor(uint64_t p) {
    uint64_t inv = p;  // Newton's iteration doubles the correct low bits
    for (int i = 0; i < 5; ++i) inv *= 2 - p * inv;
    return {inv, ~uint64_t{0} / p};
}

constexpr int kOddPrimeCount = 15;
constexpr uint64_t kOddPrimes[kOddPrimeCount] = {3, 5, 7, 11, 13, 17, 19, 23, 29, 31, 37, 41, 43, 47, 53};
constexpr uint64_t kLastOddPrime = 53;

struct OddDivisors {
    OddDivisor d[kOddPrimeCount];
};
constexpr OddDivisors kDivisors = [] {
    OddDivisors t{};
    for (int i = 0; i < kOddPrimeCount; ++i) t.d[i] = oddDivisor(kOddPrimes[i]);
    return t;
}();

}  // namespace

bool isPrime64(uint64_t n) {
    if (n < 4) return n >= 2;
    if ((n & 1) == 0) return false;
    for (int i = 0; i < kOddPrimeCount; ++i)
        if (n * kDivisors.d[i].inverse <= kDivisors.d[i].maxQuotient) return n == kOddPrimes[i];
    if (n < kLastOddPrime * kLastOddPrime) return true;
    return bailliePsw<Mont64, uint64_t>(Mont64(n));
}

}  // namespace wordmath
