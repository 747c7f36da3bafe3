// The seven-base Miller–Rabin test, exact below 2^64: the reference that the
// library's 64-bit test is compared with.
#pragma once

#include <cstdint>

#include "numlib/m0_utilities/montgomery.h"
#include "numlib/m0_utilities/probable_prime.h"

namespace mrreference {

// The seven bases that leave no strong pseudoprime below 2^64.
inline constexpr uint64_t kBases64[] = {2, 325, 9375, 28178, 450775, 9780504, 1795265022};

inline bool millerRabin7(uint64_t n) {
    if (n < 2) return false;
    for (uint64_t p : {2, 3, 5, 7, 11, 13, 17, 19, 23, 29, 31, 37})
        if (n % p == 0) return n == p;
    const wordmath::Mont64 mont(n);
    const int s = __builtin_ctzll(n - 1);
    const uint64_t d = (n - 1) >> s;
    for (uint64_t a : kBases64) {
        const uint64_t reduced = a % n;
        if (reduced == 0) continue;
        if (!wordmath::strongSequence(mont, mont.pow(mont.to(reduced), d), s)) return false;
    }
    return true;
}

}  // namespace mrreference
