// Quotients of two records: the integer quotient of the mantissas, the
// quotient truncated at a chosen exponent, and the quotient filling x.
#include "numlib/m9_numrec/numrec_view.h"
#include "numlib/mb_arithmetic/div_parts.h"
#include "profiler/hook.h"
#include "q64/m0_utilities.h"
#include "q64/m1_wordarrays.h"
#include "q64/m2_scratch.h"
#include "q64/m3_petapowers.h"
#include "q64/m9_numrec.h"
#include "q64/ma_alloctext.h"
#include "q64/mb_arithmetic.h"

namespace {
// x and y distinct, y nonzero. The exponent difference is checked before any
// word changes, so that every failure leaves x as it was.
int64_t divideMantissas(uint64_t* x, uint64_t* y) {
    numrec::Significant sx = numrec::significant(x);
    if (sx.n == 0) return 0;
    numrec::Significant sy = numrec::significant(y);
    if (sx.n < sy.n) {
        _9_len1st(x, 0);
        return 0;
    }
    const int64_t ey = _9_exp(y);
    int64_t e;
    if (__builtin_sub_overflow(_9_exp(x), ey, &e)) return -1;
    uint64_t* m = numrec::mantissa(x);
    uint64_t* start = sx.p;
    uint64_t len = sx.n;
    if (sx.n == sy.n || _0_cmp(sx.p, sy.p, sy.n) >= 0) {
        // The first quotient word needs a zero word in front of the dividend.
        if (sx.p == m) {
            if (_9_expdslen1(x) < 0) return -1;
            start = m;
        } else {
            start = sx.p - 1;
        }
        ++len;
    }
    _1_divmn(start, len, sy.p, sy.n);
    _9_lennsb(x, sy.n);  // the remainder words at the end are cut off
    _9_expsub(x, ey);
    _9_opsign(x, y);
    return 0;
}
}  // namespace

extern "C" int64_t _b_div(uint64_t* x, uint64_t* y) {
    PRF_ENTER(_b_div);
    if (numrec::isZero(y)) return -1;
    return divparts::withDistinctDivisor(x, y, [x](uint64_t* d) { return divideMantissas(x, d); });
}

extern "C" int64_t _b_divrnd(uint64_t* x, uint64_t* y, int64_t e) {
    PRF_ENTER(_b_divrnd);
    if (numrec::isZero(y)) return -1;
    int64_t d0;
    if (__builtin_sub_overflow(_9_exp(x), _9_exp(y), &d0)) return -1;
    if (d0 <= e) return _b_div(x, y);
    return divparts::withDistinctDivisor(x, y, [x, e, d0](uint64_t* d) -> int64_t {
        const uint64_t up = static_cast<uint64_t>(d0) - static_cast<uint64_t>(e);
        Q2Value need = _9_expundsize(x, up);
        // In place only with a word to spare: the division may need a front word.
        if (need.hi == 0 && need.lo < _9_lenmxv(x)) {
            if (_a_adjnumsup(x, up) != 0) return -1;  // only an exponent overflow: x unchanged
            return _b_div(x, d);
        }
        return _b_divalc(x, d, need.lo + 3, up);
    });
}

extern "C" int64_t _b_divalc(uint64_t* x, uint64_t* y, uint64_t s, uint64_t d) {
    PRF_ENTER(_b_divalc);
    uint64_t* t = _a_numtoaloc(x, s);
    if (t == nullptr) return -1;
    if (_a_adjnumsup(t, d) != 0 || _b_div(t, y) != 0 || _a_numtonump(x, t) != 0) {
        return _2_freertn(-1);
    }
    x[1] = t[1];
    _9_signst(x, t[0] >> 63);
    return _2_freertn(0);
}

// The temporary is scaled by enough peta digits that the quotient has at
// least 64(l-2) - 1 bits: b = 64(l-2) - bitlen(x) + bitlen(y) more bits than
// x, so 10^(16k) >= 2^(b-1). It then holds at most (l-2) + ny + 1 words, one
// less than its capacity, which leaves the front word for the division.
extern "C" int64_t _b_divrndsz(uint64_t* x, uint64_t* y) {
    PRF_ENTER(_b_divrndsz);
    const uint64_t yBits = _9_blen(y);
    if (yBits == 0) return -1;
    const uint64_t xBits = _9_blen(x);
    if (xBits == 0) return 0;
    const uint64_t capacity = _9_lenmxv(x);
    uint64_t* t = _a_numtoaloc(x, capacity + (yBits + 63) / 64 + 4);
    if (t == nullptr) return -1;
    const uint64_t grow = 64 * capacity - xBits + yBits;
    if (_a_adjnumsup(t, _3_bitpetal(grow)) != 0 || _b_div(t, y) != 0 ||
        _a_adjnumszdown(t, capacity) < 0) {
        return _2_freertn(-1);
    }
    _a_numovnum(x, t);
    return _2_freertn(0);
}
