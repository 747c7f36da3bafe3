// Accessors that move mantissa words: zero words in front, compression to the
// significant words, and the dropping of peta digits that frees the first word.
#include "numlib/m9_numrec/numrec_view.h"
#include "profiler/hook.h"
#include "q64/m0_utilities.h"
#include "q64/m1_wordarrays.h"
#include "q64/m9_numrec.h"

extern "C" int64_t _9_expdslen1(uint64_t* rec) {
    PRF_ENTER(_9_expdslen1);
    Q2Value lens = _9_lenlen(rec);
    if (lens.lo >= lens.hi - 2) return -1;
    uint64_t* m = numrec::mantissa(rec);
    if (lens.lo == 0) {
        m[0] = 0;
        return static_cast<int64_t>(_9_len1st(rec, 1));
    }
    return static_cast<int64_t>(_9_len1st(rec, _0_expd1mem(m, lens.lo)));
}

extern "C" int64_t _9_expdslenm(uint64_t* rec, uint64_t k) {
    PRF_ENTER(_9_expdslenm);
    Q2Value lens = _9_lenlen(rec);
    if (k > lens.hi - 2 - lens.lo) return -1;
    if (k == 0) return static_cast<int64_t>(lens.lo);
    uint64_t* m = numrec::mantissa(rec);
    if (lens.lo == 0) {
        for (uint64_t i = 0; i < k; ++i) m[i] = 0;
        return static_cast<int64_t>(_9_len1st(rec, k));
    }
    return static_cast<int64_t>(_9_len1st(rec, _0_expdnmem(m, lens.lo, k)));
}

extern "C" uint64_t _9_cmprslen(uint64_t* rec) {
    PRF_ENTER(_9_cmprslen);
    uint64_t lenv = _9_lenv(rec);
    uint64_t* m = numrec::mantissa(rec);
    if (lenv == 0 || m[0] != 0) return lenv;
    return _9_len1st(rec, _0_cprslmem(m, lenv));
}

// Dividing by 10^16 removes at most 54 bits, so two divisions always clear a
// first word that one division left non-zero.
extern "C" int64_t _9_divpeta1(uint64_t* rec) {
    PRF_ENTER(_9_divpeta1);
    uint64_t lenv = _9_lenv(rec);
    if (lenv == 0) return 0;
    uint64_t* m = numrec::mantissa(rec);
    int64_t divisions = 1;
    _1_div1n(m, lenv, NUMREC_PETA);
    if (m[0] != 0) {
        _1_div1n(m, lenv, NUMREC_PETA);
        ++divisions;
    }
    if (!numrec::expAddCount(rec, static_cast<uint64_t>(divisions))) return -1;
    _9_len1st(rec, _0_cprslmem(m, lenv));
    return 0;
}
