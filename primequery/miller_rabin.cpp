// Miller–Rabin with deterministic base sets; see miller_rabin.h.
#include "primequery/miller_rabin.h"

#include "primequery/montgomery.h"

namespace primequery {
namespace {

constexpr uint64_t kSmallPrimes[] = {2,  3,  5,  7,  11, 13, 17, 19, 23, 29, 31, 37, 41,
                                     43, 47, 53, 59, 61, 67, 71, 73, 79, 83, 89, 97};
constexpr uint64_t kLastSmallPrime = 97;

// Strong probable prime to base a (a in Montgomery form, a != 0 mod n), with
// n - 1 = d 2^s, d odd.
template <class Mont, class Word>
bool strongProbablePrime(const Mont& mont, Word aMont, Word d, int s) {
    Word one = mont.one();
    Word minusOne = mont.sub(0, one);
    Word x = mont.pow(aMont, d);
    if (x == one || x == minusOne) return true;
    for (int i = 1; i < s; ++i) {
        x = mont.mul(x, x);
        if (x == minusOne) return true;
        if (x == one) return false;
    }
    return false;
}

// -1 composite, 1 prime, 0 undecided by the small primes.
int smallPrimeVerdict(uint64_t n) {
    if (n < 2) return -1;
    for (uint64_t p : kSmallPrimes) {
        if (n == p) return 1;
        if (n % p == 0) return -1;
    }
    if (n < kLastSmallPrime * kLastSmallPrime) return 1;
    return 0;
}

}  // namespace

bool isPrime64(uint64_t n) {
    int verdict = smallPrimeVerdict(n);
    if (verdict != 0) return verdict > 0;
    Mont64 mont(n);
    int s = __builtin_ctzll(n - 1);
    uint64_t d = (n - 1) >> s;
    for (uint64_t a : kBases64) {
        uint64_t reduced = a % n;
        if (reduced == 0) continue;
        if (!strongProbablePrime(mont, mont.to(reduced), d, s)) return false;
    }
    return true;
}

Primality testPrimality(u128 n) {
    if (hi64(n) == 0) return isPrime64(lo64(n)) ? Primality::kPrime : Primality::kComposite;
    // n is at least 2^64, far above the small primes and the bases.
    for (uint64_t p : kSmallPrimes)
        if (mod64(n, p) == 0) return Primality::kComposite;
    Mont128 mont(n);
    int s = ctz128(n - 1);
    u128 d = (n - 1) >> s;
    for (uint64_t a : kBases128)
        if (!strongProbablePrime(mont, mont.to(a), d, s)) return Primality::kComposite;
    return n < kPsi13 ? Primality::kPrime : Primality::kProbablePrime;
}

}  // namespace primequery
