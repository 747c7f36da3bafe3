// Steps of the long division shared by div.cpp, divstep.cpp and the
// divide-and-conquer division (div_dc.cpp) (internal, C++ only).
#pragma once

#include <cstdint>

#include "numlib/m1/kernels.h"

namespace m1 {

// W -= q * B over nb + 1 words (W: w[0..nb], B: b[0..nb-1]); returns 1 when
// the result went negative (a borrow out of w[0]), else 0.
inline uint64_t subMul(uint64_t* w, const uint64_t* b, uint64_t nb, uint64_t q) {
    const uint64_t carry = subMul1(w + 1, b, nb, q);
    const uint64_t x = w[0];
    w[0] = x - carry;
    return x < carry;
}

// A divisor of nb >= 2 words with its top 128 bits aligned to bit 127.
struct Divisor {
    const uint64_t* b;
    uint64_t nb;
    unsigned sh;      // 63 - index of the top set bit of b[0]
    uint64_t d1, d0;  // top two words of B * 2^sh
};

// s is the index of the top set bit of b[0].
Divisor alignDivisor(const uint64_t* b, uint64_t nb, uint64_t s);
// One quotient word of the window w[0..nb] (w[0..nb-1] < B, nb >= 2): the
// quotient word to w[0], the remainder to w[1..nb]. Returns the word.
uint64_t quotientWord(uint64_t* w, const Divisor& d);
// The same for a one-word divisor: (w[0], w[1]) / b0 with w[0] < b0.
uint64_t quotientWord1(uint64_t* w, uint64_t b0);

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
