// The pieces of the bit-by-bit quotient correction: the largest shift of the
// divisor that still fits under a window, and subtraction of a one-word
// multiple or of a shifted copy of the divisor.
//
// Each subtraction keeps one running borrow instead of a single-word
// subtraction per partial word; the results are the same, since the value
// subtracted is below 2^(64 * window length) and so at most one borrow can
// leave the front of the window.
#include "numlib/m1_wordarrays/div_internal.h"
#include "platform/precondition.h"
#include "profiler/hook.h"
#include "q64/m0_utilities.h"
#include "q64/m1_wordarrays.h"

namespace {

// *x -= y + borrow; returns the new borrow (0 or 1).
inline uint64_t subWord(uint64_t* x, uint64_t y, uint64_t borrow) {
    uint64_t d;
    uint64_t b1 = __builtin_sub_overflow(*x, y, &d);
    uint64_t b2 = __builtin_sub_overflow(d, borrow, x);
    return b1 | b2;
}

// Word i of B * 2^k taken over the words of B alone (bits shifted out of
// b[0] dropped): (b[i] << k) joined with the top k bits of b[i+1].
inline uint64_t shiftedWord(const uint64_t* b, uint64_t n, uint64_t i, unsigned k) {
    if (k == 0) return b[i];
    return (b[i] << k) | (i + 1 < n ? b[i + 1] >> (64 - k) : 0);
}
}  // namespace

extern "C" int64_t _1_n1mxn2n(const uint64_t* w, const uint64_t* b, uint64_t nb, uint64_t s) {
    PRF_ENTER(_1_n1mxn2n);
    if (w[0] != 0) return _0_n1mxn2n1(w, b, nb, s);
    if (w[1] != 0) return _0_n1mxn2n(w + 1, b, nb, s);
    return -1;
}

extern "C" int64_t _1_sub12n(uint64_t* w, const uint64_t* b, uint64_t nb, uint64_t q) {
    PRF_ENTER(_1_sub12n);
    Q64_ASSERT(platform::disjointWords(w, nb + 1, b, nb));
    return m1::subMul(w, b, nb, q) != 0 ? -1 : 0;
}

extern "C" int64_t _1_sub122n(uint64_t* w, const uint64_t* b, uint64_t nb, uint64_t k) {
    PRF_ENTER(_1_sub122n);
    Q64_ASSERT(platform::disjointWords(w, nb + 1, b, nb));
    unsigned sh = static_cast<unsigned>(k);
    uint64_t borrow = 0;
    for (uint64_t i = nb; i-- > 0;) borrow = subWord(&w[i + 1], shiftedWord(b, nb, i, sh), borrow);
    borrow = subWord(&w[0], sh == 0 ? 0 : b[0] >> (64 - sh), borrow);
    return borrow != 0 ? -1 : 0;
}

extern "C" int64_t _1_sub122(uint64_t* w, const uint64_t* b, uint64_t n, uint64_t k) {
    PRF_ENTER(_1_sub122);
    Q64_ASSERT(platform::disjointWords(w, n, b, n));
    unsigned sh = static_cast<unsigned>(k);
    uint64_t borrow = 0;
    for (uint64_t i = n; i-- > 0;) borrow = subWord(&w[i], shiftedWord(b, n, i, sh), borrow);
    uint64_t above = sh == 0 ? 0 : b[0] >> (64 - sh);
    if (above != 0) return static_cast<int64_t>(above);
    return borrow != 0 ? -1 : 0;
}
