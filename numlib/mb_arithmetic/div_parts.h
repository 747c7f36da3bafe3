// Steps shared by the division routines of module _b_ (not part of the
// library's interface).
#pragma once

#include <cstdint>

#include "numlib/m9_numrec/numrec_view.h"
#include "q64/m0_utilities.h"
#include "q64/m2_scratch.h"
#include "q64/m9_numrec.h"
#include "q64/ma_alloctext.h"

namespace divparts {

// Runs divide(y') with y' = y, or a scratch copy of y when y is x itself: the
// quotient overwrites x's words while the divisor is still being read. -1 when
// no copy can be made.
template <class Divide>
int64_t withDistinctDivisor(uint64_t* x, uint64_t* y, Divide divide) {
    if (x != y) return divide(y);
    uint64_t* copy = _a_numtoaloc(y, 0);
    if (copy == nullptr) return -1;
    return _2_freertn(divide(copy));
}

// The integer held in the first r mantissa words of x (leading zero words
// allowed), encoded in one word: itself below 2^63, else bit 63 set and its
// low 62 bits. Those words are set to zero. 0 for a zero integer.
inline int64_t takeEncodedInteger(uint64_t* x, uint64_t r) {
    uint64_t* m = numrec::mantissa(x);
    const uint64_t zeros = static_cast<uint64_t>(_0_cntzero(m, r));
    if (zeros == r) return 0;
    const uint64_t last = m[r - 1];
    const bool oneWord = r - zeros == 1;
    _0_clear(m + zeros, r - zeros);
    constexpr uint64_t kTop = uint64_t{1} << 63;
    if (oneWord && last < kTop) return static_cast<int64_t>(last);
    return static_cast<int64_t>((last & (kTop / 2 - 1)) | kTop);
}

// q becomes the integer held in the first r mantissa words of x: a compact,
// non-negative record of exponent 0 with x's record length (zero for r = 0 or
// an all-zero integer). Those words of x are set to zero. q is not x.
inline void moveInteger(uint64_t* x, uint64_t* q, uint64_t r) {
    q[0] = NUMREC_HEADER(_9_lenl(x));
    q[1] = 0;
    if (r == 0) return;
    uint64_t* m = numrec::mantissa(x);
    const int64_t copied = _0_cpynzmem(numrec::mantissa(q), m, r);
    if (copied <= 0) return;
    _9_len1st(q, static_cast<uint64_t>(copied));
    _0_clear(m, r);
}

}  // namespace divparts
