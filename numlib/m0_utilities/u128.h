// 128-bit word helpers shared by the prime table and the prime queries
// (internal, C++ only).
//
// A Q2Value is handled as one unsigned __int128 inside the library; these
// helpers convert, divide by a 64-bit word with the hardware divide, and take
// greatest common divisors.
#pragma once

#include <cstdint>

#include "numlib/m0_utilities/wide_divide.h"
#include "q64/base.h"

namespace wordmath {

using u128 = unsigned __int128;

inline constexpr uint64_t kAllOnes = ~uint64_t{0};

inline u128 toU128(uint64_t lo, uint64_t hi) { return (static_cast<u128>(hi) << 64) | lo; }
inline u128 toU128(Q2Value v) { return toU128(v.lo, v.hi); }
inline uint64_t lo64(u128 x) { return static_cast<uint64_t>(x); }
inline uint64_t hi64(u128 x) { return static_cast<uint64_t>(x >> 64); }
inline Q2Value toQ2(u128 x) { return Q2Value{lo64(x), hi64(x)}; }
inline Q2Value failedQ2() { return Q2Value{kAllOnes, kAllOnes}; }
inline bool isFailedQ2(Q2Value v) { return v.lo == kAllOnes && v.hi == kAllOnes; }

// (hi:lo) div d and mod d for hi < d, d != 0: one hardware division.
inline uint64_t div2by1(uint64_t hi, uint64_t lo, uint64_t d, uint64_t* rem) {
    return wide::divide(hi, lo, d, rem);
}

// x mod d for d != 0, in two steps, the high word first.
inline uint64_t mod64(u128 x, uint64_t d) {
    uint64_t hi = hi64(x);
    if (hi == 0) return lo64(x) % d;
    uint64_t r;
    div2by1(hi % d, lo64(x), d, &r);
    return r;
}

// x div d (and the remainder) for d != 0, in two steps, the high word first.
inline u128 divmod64(u128 x, uint64_t d, uint64_t* rem) {
    uint64_t hi = hi64(x);
    uint64_t qh = hi / d;
    uint64_t ql = div2by1(hi % d, lo64(x), d, rem);
    return toU128(ql, qh);
}

inline int ctz128(u128 x) {
    uint64_t lo = lo64(x);
    return lo ? __builtin_ctzll(lo) : 64 + __builtin_ctzll(hi64(x));
}

inline int ctz(uint64_t x) { return __builtin_ctzll(x); }
inline int ctz(u128 x) { return ctz128(x); }

// Binary greatest common divisor; on 128-bit words it goes on in 64 bits
// once both values fit there.
template <class Word>
Word binaryGcd(Word a, Word b) {
    if (a == 0) return b;
    if (b == 0) return a;
    int shift = ctz(a | b);
    a >>= ctz(a);
    do {
        b >>= ctz(b);
        if (a > b) {
            Word t = a;
            a = b;
            b = t;
        }
        b -= a;
        if constexpr (sizeof(Word) > sizeof(uint64_t)) {
            if (hi64(a) == 0 && hi64(b) == 0) return static_cast<u128>(binaryGcd(lo64(a), lo64(b))) << shift;
        }
    } while (b != 0);
    return a << shift;
}

inline u128 gcd128(u128 a, u128 b) { return binaryGcd(a, b); }

// Floor of the square root of x.
inline uint64_t isqrt128(u128 x) {
    if (x == 0) return 0;
    int bits = 128 - (hi64(x) ? __builtin_clzll(hi64(x)) : 64 + __builtin_clzll(lo64(x)));
    // Newton's iteration from a value at or above the root.
    u128 r = static_cast<u128>(1) << ((bits + 1) / 2);
    for (;;) {
        u128 next = (r + x / r) >> 1;
        if (next >= r) break;
        r = next;
    }
    return static_cast<uint64_t>(r);
}

// d * d compared with x, in 128 bits (d below 2^64 never overflows).
inline u128 square(uint64_t d) { return static_cast<u128>(d) * d; }

}  // namespace wordmath
