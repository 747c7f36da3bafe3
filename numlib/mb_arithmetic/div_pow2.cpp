// Division by powers of two: a right shift of the mantissa, alone, brought to
// an exponent, or with as many digits as x holds. Scaling up by peta digits
// always comes before the shift, dropping them after it, so that every
// result is the exact quotient truncated once.
#include "numlib/m9_numrec/numrec_view.h"
#include "profiler/hook.h"
#include "q64/m0_utilities.h"
#include "q64/m2_scratch.h"
#include "q64/m3_petapowers.h"
#include "q64/m9_numrec.h"
#include "q64/ma_alloctext.h"
#include "q64/mb_arithmetic.h"

extern "C" int64_t _b_div2n(uint64_t* x, uint64_t k) {
    PRF_ENTER(_b_div2n);
    const uint64_t words = k / 64;
    if (words != 0) {
        if (words >= _9_lenv(x)) {
            _9_len1st(x, 0);
            return 0;
        }
        _9_lennsb(x, words);
    }
    const uint64_t bits = k % 64;
    if (bits != 0) {
        numrec::Significant s = numrec::significant(x);
        if (s.n != 0) _0_bitshtr(s.p, s.n, bits);
    }
    return 0;
}

extern "C" int64_t _b_div2np(uint64_t* x, uint64_t k, int64_t e) {
    PRF_ENTER(_b_div2np);
    numrec::Significant s = numrec::significant(x);
    if (s.n == 0) return 0;
    const __int128 d = static_cast<__int128>(_9_exp(x)) - e;
    if (d < 0) {  // digits below e go first: truncating twice is truncating once
        if (_a_adjnumsdown(x, static_cast<uint64_t>(-d)) != 0) return -1;
        return _b_div2n(x, k);
    }
    if (d == 0) return _b_div2n(x, k);
    const uint64_t up = static_cast<uint64_t>(d);
    const uint64_t need = s.n + _3_petaqwl(up);
    if (_9_lenmxv(x) > need) {
        if (_a_adjnumsup(x, up) != 0) return -1;
        return _b_div2n(x, k);
    }
    uint64_t* t = _a_numtoalocadj(x, need + 3, static_cast<int64_t>(up));
    if (t == nullptr) return -1;
    _b_div2n(t, k);
    return _2_freertn(_a_numovnum(x, t));
}

// The temporary is scaled by enough peta digits that the shifted mantissa
// keeps at least 64(l-2) - 1 bits: 10^(16j) >= 2^(b-1) with b = 64(l-2) -
// bitlen(x) + k + 1. Before the shift it holds at most l + k/64 words, its
// capacity, and every multiplication by 10^16 starts below it.
extern "C" int64_t _b_div2nsz(uint64_t* x, uint64_t k) {
    PRF_ENTER(_b_div2nsz);
    const uint64_t xBits = _9_blen(x);
    if (xBits == 0) return 0;
    const uint64_t l = _9_lenl(x);
    if (k / 64 > NUMREC_LENL_MAX) return -1;  // no temporary is that long
    uint64_t* t = _a_numtoaloc(x, l + k / 64 + 2);
    if (t == nullptr) return -1;
    const uint64_t capacity = l - 2;
    const uint64_t grow = 64 * capacity - xBits + k + 1;
    if (_a_adjnumsup(t, _3_bitpetal(grow)) != 0) return _2_freertn(-1);
    _b_div2n(t, k);
    if (_a_adjnumszdown(t, capacity) < 0) return _2_freertn(-1);
    _a_numovnum(x, t);
    return _2_freertn(0);
}
