// A window holds kWindowOdd consecutive odd numbers; each sieving prime p
// marks its odd multiples there from the first one, start + 2k with
// k = -start / 2 mod p. The unmarked ones are tested in order, upward for the
// next prime, downward for the previous one. Numbers below 2^16 (where a
// sieving prime could be the answer itself) are tested one by one.
#include "primequery/prime_window.h"

#include "numlib/m0_utilities/prime_test64.h"
#include "primequery/factoring/odd_primes.h"
#include "primequery/proof/proven_prime.h"

namespace primequery {
namespace {

constexpr int kWindowOdd = 1024;
// Sieving primes: more for 128-bit numbers, whose test costs more.
constexpr int kSievePrimes64 = 48, kSievePrimes128 = 400;
constexpr u128 kSmall = factoring::kOddPrimeLimit;

bool isPrime(u128 x) {
    return wordmath::hi64(x) == 0 ? wordmath::isPrime64(wordmath::lo64(x)) : proof::isPrime128(x);
}

// Marks the odd numbers start, start + 2, ..., start + 2 (count - 1)
// (start odd, above the sieving primes) that a sieving prime divides.
void sieveWindow(u128 start, int count, bool* marked) {
    for (int k = 0; k < count; ++k) marked[k] = false;
    const int primes = wordmath::hi64(start) == 0 ? kSievePrimes64 : kSievePrimes128;
    for (int i = 0; i < primes; ++i) {
        const uint64_t p = factoring::oddPrime(i);
        const uint64_t r = wordmath::mod64(start, p);
        // start + 2k = 0 mod p: k = (p - r) / 2 mod p, with 2^-1 = (p + 1)/2.
        const uint64_t first = (p - r) % p * ((p + 1) / 2) % p;
        for (uint64_t k = first; k < static_cast<uint64_t>(count); k += p) marked[k] = true;
    }
}

}  // namespace

u128 nextPrimeAbove(u128 n) {
    if (n >= kLargestPrime128) return 0;
    if (n < 2) return 2;
    u128 x = (n + 1) | 1;  // the first odd number above n
    while (x < kSmall) {
        if (isPrime(x)) return x;
        x += 2;
    }
    bool marked[kWindowOdd];
    for (;;) {
        sieveWindow(x, kWindowOdd, marked);
        for (int k = 0; k < kWindowOdd; ++k)
            if (!marked[k] && isPrime(x + 2 * static_cast<u128>(k))) return x + 2 * static_cast<u128>(k);
        x += 2 * kWindowOdd;  // below kLargestPrime128 + 2 kWindowOdd: no wrap
    }
}

u128 previousPrimeBelow(u128 n) {
    if (n <= 2) return 0;
    if (n == 3) return 2;
    u128 x = (n - 2) | 1;  // the first odd number below n
    bool marked[kWindowOdd];
    while (x >= kSmall + 2 * kWindowOdd) {
        const u128 start = x - 2 * (kWindowOdd - 1);
        sieveWindow(start, kWindowOdd, marked);
        for (int k = kWindowOdd - 1; k >= 0; --k)
            if (!marked[k] && isPrime(start + 2 * static_cast<u128>(k))) return start + 2 * static_cast<u128>(k);
        x = start - 2;
    }
    for (; x >= 3; x -= 2)
        if (isPrime(x)) return x;
    return 2;
}

}  // namespace primequery
