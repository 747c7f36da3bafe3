// Products with one-word integers.
#include "numlib/m9_numrec/numrec_view.h"
#include "profiler/hook.h"
#include "q64/m0_utilities.h"
#include "q64/m1_wordarrays.h"
#include "q64/m9_numrec.h"
#include "q64/mb_arithmetic.h"

extern "C" uint64_t _b_muln(uint64_t* p, uint64_t n, uint64_t m) {
    PRF_ENTER(_b_muln);
    uint64_t z = 0;
    while (z < n && p[z] == 0) ++z;
    if (z == n) return 0;
    return _1_muln(p + z, n - z, m);
}

// The product needs one word more than x's L words: a free word behind the
// mantissa, a leading zero word to compress away, or else one freed by
// dropping peta digits.
extern "C" int64_t _b_mulnum(uint64_t* x, uint64_t m) {
    PRF_ENTER(_b_mulnum);
    if (m == 0) {
        _9_len1st(x, 0);
        return 0;
    }
    uint64_t capacity = _9_lenmxv(x);
    uint64_t lenv = _9_lenv(x);
    if (lenv >= capacity) {
        lenv = _9_cmprslen(x);
        if (lenv == 0) return 0;  // zero stays zero (also in a record without mantissa words)
        if (lenv >= capacity) {
            if (_9_divpeta1(x) != 0) return -1;
            lenv = _9_lenv(x);
        }
    }
    _9_len1ad(x);
    if (_b_muln(numrec::mantissa(x), lenv, m) == 0) _9_len1st(x, 0);
    return 0;
}

extern "C" int64_t _b_mulsnum(uint64_t* x, int64_t k) {
    PRF_ENTER(_b_mulsnum);
    uint64_t magnitude = k < 0 ? 0 - static_cast<uint64_t>(k) : static_cast<uint64_t>(k);
    int64_t r = _b_mulnum(x, magnitude);
    if (k < 0) _9_signeg(x);
    return r;
}

extern "C" int64_t _b_muladd(uint64_t* x, uint64_t m, uint64_t k) {
    PRF_ENTER(_b_muladd);
    if (_b_mulnum(x, m) != 0) return -1;
    return _b_addnum(x, k);
}

extern "C" int64_t _b_mulsub(uint64_t* x, uint64_t m, uint64_t k) {
    PRF_ENTER(_b_mulsub);
    if (_b_mulnum(x, m) != 0) return -1;
    return _b_subnum(x, k);
}

extern "C" int64_t _b_mulnum2num(uint64_t* x, uint64_t a, uint64_t b) {
    PRF_ENTER(_b_mulnum2num);
    uint64_t lo = a < b ? a : b;
    uint64_t hi = a < b ? b : a;
    int64_t status = 0;
    for (uint64_t i = lo;;) {
        Q2Value run = _0_numulnum(i, hi);  // i * (i+1) * ... * run.hi in one word
        status |= _b_mulnum(x, run.lo);
        if (run.hi >= hi) break;
        i = run.hi + 1;
    }
    return status;
}
