// Miller–Rabin with seven bases on Montgomery residues: the bases
// {2, 325, 9375, 28178, 450775, 9780504, 1795265022} leave no strong
// pseudoprime below 2^64.
#include "numlib/m0_utilities/prime_test64.h"

#include "numlib/m0_utilities/montgomery.h"

namespace wordmath {
namespace {

constexpr uint64_t kSmallPrimes[] = {2,  3,  5,  7,  11, 13, 17, 19, 23, 29, 31, 37, 41,
                                     43, 47, 53, 59, 61, 67, 71, 73, 79, 83, 89, 97};
constexpr uint64_t kLastSmallPrime = 97;

}  // namespace

bool isPrime64(uint64_t n) {
    if (n < 2) return false;
    for (uint64_t p : kSmallPrimes) {
        if (n == p) return true;
        if (n % p == 0) return false;
    }
    if (n < kLastSmallPrime * kLastSmallPrime) return true;
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

}  // namespace wordmath
