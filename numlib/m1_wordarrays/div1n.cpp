// Division of a word array by one word in place.
//
// Long arrays divide with a precomputed reciprocal of the divisor (Moller and
// Granlund, "Improved division by invariant integers", 2011): two
// multiplications per word instead of a hardware division.
#include "numlib/m0_utilities/wide_divide.h"
#include "profiler/hook.h"
#include "q64/m1_wordarrays.h"

namespace {
using u128 = unsigned __int128;


// A divisor aligned so that its top bit is bit 63, with its reciprocal
// v = floor((2^128 - 1) / dn) - 2^64.
struct Reciprocal {
    unsigned shift;
    uint64_t dn, v;
    explicit Reciprocal(uint64_t d) : shift(static_cast<unsigned>(__builtin_clzll(d))), dn(d << shift) {
        uint64_t r;
        v = wide::divide(~dn, ~uint64_t{0}, dn, &r);
    }
    // (u1 * 2^64 + u0) / dn with u1 < dn.
    uint64_t divide(uint64_t u1, uint64_t u0, uint64_t* rem) const {
        u128 p = static_cast<u128>(v) * u1 + ((static_cast<u128>(u1 + 1) << 64) | u0);
        uint64_t q = static_cast<uint64_t>(p >> 64), q0 = static_cast<uint64_t>(p);
        uint64_t r = u0 - q * dn;
        if (r > q0) {
            --q;
            r += dn;
        }
        if (__builtin_expect(r >= dn, 0)) {
            ++q;
            r -= dn;
        }
        *rem = r;
        return q;
    }
};

// Below this many quotient steps one hardware division per word is cheaper
// than computing the reciprocal first.
constexpr uint64_t kReciprocalSteps = 3;
}  // namespace

// A first word below d becomes the starting remainder and its quotient word
// 0; every later step divides (remainder, word) with the remainder below d.
extern "C" uint64_t _1_div1n(uint64_t* a, uint64_t n, uint64_t d) {
    PRF_ENTER(_1_div1n);
    uint64_t rem = 0, i = 0;
    if (n == 1) {
        rem = a[0] % d;
        a[0] /= d;
        return rem;
    }
    if (a[0] < d) {
        rem = a[0];
        a[0] = 0;
        i = 1;
    }
    if (n - i < kReciprocalSteps) {
        for (; i < n; ++i) a[i] = wide::divide(rem, a[i], d, &rem);
        return rem;
    }
    // Both the remainder and each word are scaled by 2^shift, so the scaled
    // remainder stays below dn and the quotient words are unchanged.
    const Reciprocal rc(d);
    const unsigned sh = rc.shift;
    for (; i < n; ++i) {
        uint64_t x = a[i];
        uint64_t u1 = sh == 0 ? rem : (rem << sh) | (x >> (64 - sh));
        a[i] = rc.divide(u1, x << sh, &rem);
        rem >>= sh;
    }
    return rem;
}
