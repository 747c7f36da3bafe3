// Steps of the long division shared by div.cpp, divstep.cpp and the
// divide-and-conquer division (div_dc.cpp) (internal, C++ only).
//
// One quotient word is found as in Knuth's algorithm D: an estimate from the
// top three words of the window and the top two words of the divisor, both
// aligned so that the divisor's top bit is bit 63, is at most one above the
// true quotient word and never below it; one multiply-subtract and at most
// one add-back give the exact quotient word and remainder.
#pragma once

#include <cstdint>

#include "numlib/m0_utilities/wide_divide.h"
#include "numlib/m1_wordarrays/kernels.h"

namespace m1 {

// W -= q * B over nb + 1 words (W: w[0..nb], B: b[0..nb-1]); returns 1 when
// the result went negative (a borrow out of w[0]), else 0.
inline uint64_t subMul(uint64_t* w, const uint64_t* b, uint64_t nb, uint64_t q) {
    const uint64_t carry = subMul1(w + 1, b, nb, q);
    const uint64_t x = w[0];
    w[0] = x - carry;
    return x < carry;
}

// The top word of (hi, lo) shifted left by sh (0 to 63).
inline uint64_t joinLeft(uint64_t hi, uint64_t lo, unsigned sh) {
    return sh == 0 ? hi : (hi << sh) | (lo >> (64 - sh));
}

// A divisor of nb >= 2 words with its top 128 bits aligned to bit 127.
struct Divisor {
    const uint64_t* b;
    uint64_t nb;
    unsigned sh;      // 63 - index of the top set bit of b[0]
    uint64_t d1, d0;  // top two words of B * 2^sh
};

// s is the index of the top set bit of b[0].
inline Divisor alignDivisor(const uint64_t* b, uint64_t nb, unsigned s) {
    const unsigned sh = 63 - s;
    return {b, nb, sh, joinLeft(b[0], b[1], sh), joinLeft(b[1], nb > 2 ? b[2] : 0, sh)};
}

// One quotient word of the window w[0..nb] (w[0..nb-1] < B, nb >= 2): the
// quotient word to w[0], the remainder to w[1..nb]. Returns the word.
inline uint64_t quotientWord(uint64_t* w, const Divisor& d) {
    using u128 = unsigned __int128;
    const uint64_t nb = d.nb;
    // The aligned window still fits in nb + 1 words, since W < B * 2^64.
    const uint64_t n2 = joinLeft(w[0], w[1], d.sh);
    const uint64_t n1 = joinLeft(w[1], w[2], d.sh);
    const uint64_t n0 = joinLeft(w[2], nb > 2 ? w[3] : 0, d.sh);
    uint64_t q, r;
    bool rBig;  // r >= 2^64: the test below cannot lower q
    if (n2 >= d.d1) {  // only n2 == d1 occurs: the estimate is clamped
        q = ~uint64_t{0};
        rBig = __builtin_add_overflow(n1, d.d1, &r);
    } else {
        q = wide::divide(n2, n1, d.d1, &r);
        rBig = false;
    }
    while (!rBig && static_cast<u128>(q) * d.d0 > ((static_cast<u128>(r) << 64) | n0)) {
        --q;
        rBig = __builtin_add_overflow(r, d.d1, &r);
    }
    if (q != 0 && subMul(w, d.b, nb, q) != 0) {
        do --q;  // add back: the estimate is at most one too big
        while (addWord(w, 1, addN(w + 1, w + 1, d.b, nb)) == 0);
    }
    w[0] = q;
    return q;
}

// The same for a one-word divisor: (w[0], w[1]) / b0 with w[0] < b0.
inline uint64_t quotientWord1(uint64_t* w, uint64_t b0) {
    uint64_t r;
    const uint64_t q = wide::divide(w[0], w[1], b0, &r);
    w[0] = q;
    w[1] = r;
    return q;
}

// The long division loop: quotient word j to a[j], remainder window a[j+1..]
// (na > nb, b[0] != 0, a[0..nb-1] < B).
inline void divLoop(uint64_t* a, uint64_t na, const uint64_t* b, uint64_t nb) {
    const uint64_t steps = na - nb;
    if (nb == 1) {
        for (uint64_t j = 0; j < steps; ++j) quotientWord1(a + j, b[0]);
        return;
    }
    const Divisor d = alignDivisor(b, nb, 63 - static_cast<unsigned>(__builtin_clzll(b[0])));
    for (uint64_t j = 0; j < steps; ++j) quotientWord(a + j, d);
}

// A (na > nb words) by the normalised D (nb words, top bit set) in place:
// the quotient's na - nb words to a[0..na-nb-1], its extra top bit (1 when
// a[0..nb-1] >= D) returned, the remainder to a[na-nb..na-1]. tp holds
// divNormalisedScratch words.
uint64_t divNormalised(uint64_t* a, uint64_t na, const uint64_t* d, uint64_t nb, uint64_t* tp);
uint64_t divNormalisedScratch(uint64_t na, uint64_t nb);

// The division loop of _1_divmn (na > nb, b[0] != 0, a[0..nb-1] < B) by
// divide and conquer, with the same quotient and remainder in the same
// words. False, A untouched, when the working stack cannot take the
// method's work memory (divDCScratch words).
bool divDC(uint64_t* a, uint64_t na, const uint64_t* b, uint64_t nb);
uint64_t divDCScratch(uint64_t na, uint64_t nb);

}  // namespace m1
