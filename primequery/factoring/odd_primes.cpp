// The table of odd primes below 2^16, computed at compile time.
#include "primequery/factoring/odd_primes.h"

namespace factoring {
namespace {

constexpr OddPrimeTable makeTable() {
    OddPrimeTable t{};
    // A sieve of the odd numbers below 2^16: bit i stands for 2 i + 1.
    bool composite[kOddPrimeLimit / 2] = {};
    for (uint32_t i = 1; i < kOddPrimeLimit / 2; ++i) {
        if (composite[i]) continue;
        const uint32_t p = 2 * i + 1;
        for (uint32_t j = (p * p) / 2; j < kOddPrimeLimit / 2; j += p) composite[j] = true;
    }
    int k = 0;
    for (uint32_t i = 1; i < kOddPrimeLimit / 2; ++i) {
        if (composite[i]) continue;
        const uint32_t p = 2 * i + 1;
        u128 inv = p;  // Newton's iteration doubles the correct low bits
        for (int step = 0; step < 6; ++step) inv *= 2 - p * inv;
        t.prime[k] = p;
        t.inverse[k] = inv;
        t.maxQuotient[k] = ~u128{0} / p;
        t.maxQuotient64[k] = ~uint64_t{0} / p;
        ++k;
    }
    return t;
}

}  // namespace

constinit const OddPrimeTable kOddPrimes = makeTable();

int oddPrimeIndexAbove(uint32_t bound) {
    int lo = 0, hi = kOddPrimeCount;
    while (lo < hi) {
        int mid = (lo + hi) / 2;
        if (kOddPrimes.prime[mid] <= bound)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

}  // namespace factoring
