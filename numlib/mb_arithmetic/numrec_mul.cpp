// Products of two records: exact in place, brought to an exponent, shortened
// to fit, and squares.
#include "numlib/m9_numrec/numrec_view.h"
#include "profiler/hook.h"
#include "q64/m0_utilities.h"
#include "q64/m1_wordarrays.h"
#include "q64/m2_scratch.h"
#include "q64/m9_numrec.h"
#include "q64/ma_alloctext.h"
#include "q64/mb_arithmetic.h"

namespace {
inline void makeZero(uint64_t* x) { _9_len1st(x, 0); }

// The product's nx + ny words start at px and run ny words beyond x's L words.
// The exponent sum is checked before any word changes, so that a failure
// leaves x as it was.
int64_t mulInPlace(uint64_t* x, numrec::Significant sx, const uint64_t* py, uint64_t ny,
                   const uint64_t* y) {
    Q2Value lens = _9_lenlen(x);
    int64_t sum;
    if (__builtin_add_overflow(_9_exp(x), _9_exp(y), &sum)) return -1;
    if (lens.lo + ny > lens.hi - 2) {
        if (sx.n + ny > lens.hi - 2) return -1;
        _9_cmprslen(x);
        sx.p = numrec::mantissa(x);
    }
    _1_mul(sx.p, sx.n, py, ny);
    _9_lennad(x, ny);
    _9_expadd(x, _9_exp(y));
    _9_opsign(x, y);
    return 0;
}
}  // namespace

extern "C" int64_t _b_mul(uint64_t* x, uint64_t* y) {
    PRF_ENTER(_b_mul);
    numrec::Significant sx = numrec::significant(x);
    if (sx.n == 0) return 0;
    numrec::Significant sy = numrec::significant(y);
    if (sy.n == 0) {
        makeZero(x);
        return 0;
    }
    if (x != y) return mulInPlace(x, sx, sy.p, sy.n, y);
    // The multiplier must not lie in the product's area: square from a copy.
    uint64_t* copy = _2_alocs(sy.n);
    if (copy == nullptr) return -1;
    _0_cpymem(copy, sy.p, sy.n);
    return _2_freertn(mulInPlace(x, sx, copy, sy.n, y));
}

extern "C" int64_t _b_mulrnd(uint64_t* x, uint64_t* y, int64_t e) {
    PRF_ENTER(_b_mulrnd);
    uint64_t nx = _9_len(x);
    uint64_t ny = _9_len(y);
    if (nx == 0 || ny == 0) {
        makeZero(x);
        return 0;
    }
    if (_9_lenmxv(x) <= nx + ny) return _b_mulalc(x, y, e, nx + ny + 3);
    if (_b_mul(x, y) != 0) return -1;
    return _a_adjnums(x, e);
}

extern "C" int64_t _b_mulalc(uint64_t* x, uint64_t* y, int64_t e, uint64_t s) {
    PRF_ENTER(_b_mulalc);
    uint64_t* t = _a_numtoaloc(x, s);
    if (t == nullptr) return -1;
    if (_b_mul(t, y) != 0) return _2_freertn(-1);
    int64_t et = _9_exp(t);
    if (e > et && _a_adjnumsdown(t, static_cast<uint64_t>(e) - static_cast<uint64_t>(et)) != 0) {
        return _2_freertn(-1);
    }
    int64_t dropped = _a_adjnumszdown(t, _9_lenmxv(x));
    if (dropped < 0) return _2_freertn(-1);
    _a_numovnum(x, t);
    return _2_freertn(dropped > 0 ? 1 : 0);
}

extern "C" int64_t _b_mulrndsz(uint64_t* x, uint64_t* y) {
    PRF_ENTER(_b_mulrndsz);
    uint64_t nx = _9_len(x);
    uint64_t ny = _9_len(y);
    if (nx == 0 || ny == 0) {
        makeZero(x);
        return 0;
    }
    if (nx + ny <= _9_lenmxv(x)) return _b_mul(x, y);
    uint64_t* t = _a_numtoaloc(x, nx + ny + 2);
    if (t == nullptr) return -1;
    if (_b_mul(t, y) != 0) return _2_freertn(-1);
    int64_t dropped = _a_adjnumszdown(t, _9_lenmxv(x));
    if (dropped < 0) return _2_freertn(-1);
    _a_numovnum(x, t);
    return _2_freertn(dropped);
}

extern "C" int64_t _b_square(uint64_t* x) {
    PRF_ENTER(_b_square);
    int64_t e = _9_exp(x);
    uint64_t* copy = _a_numtoaloc(x, 0);
    if (copy == nullptr) return -1;
    return _2_freertn(_b_mulrnd(x, copy, e));
}

extern "C" int64_t _b_squaresz(uint64_t* x) {
    PRF_ENTER(_b_squaresz);
    uint64_t* copy = _a_numtoaloc(x, 0);
    if (copy == nullptr) return -1;
    return _2_freertn(_b_mulrndsz(x, copy) < 0 ? -1 : 0);
}
