// NumRecs in new blocks of the working stack. A routine that fails after
// taking its block gives the block back first, so that the caller, which gets
// no location, still finds the stack as it was.
#include "numlib/m9_numrec/numrec_view.h"
#include "profiler/hook.h"
#include "q64/m1_wordarrays.h"
#include "q64/m2_scratch.h"
#include "q64/m3_petapowers.h"
#include "q64/m9_numrec.h"
#include "q64/ma_alloctext.h"

extern "C" uint64_t* _a_alocini(uint64_t l, uint64_t k) {
    PRF_ENTER(_a_alocini);
    if (k < 1 || l < 2 || l > NUMREC_LENL_MAX || k > UINT64_MAX / l) return nullptr;
    uint64_t* block = _2_alocs(l * k);
    if (block == nullptr) return nullptr;
    for (uint64_t i = 0; i < k; ++i) block[i * l] = NUMREC_HEADER(l);
    return block;
}

extern "C" uint64_t* _a_numtoaloc(uint64_t* src, uint64_t l) {
    PRF_ENTER(_a_numtoaloc);
    if (l == 0) l = _9_lenl(src);
    uint64_t* rec = _2_alocs(l);
    if (rec == nullptr) return nullptr;
    if (_a_numtonum(rec, src, l) != 0) {
        _2_frees();
        return nullptr;
    }
    return rec;
}

extern "C" uint64_t* _a_numtomulaloc(uint64_t* src, uint64_t m) {
    PRF_ENTER(_a_numtomulaloc);
    numrec::Significant s = numrec::significant(src);
    if (s.n == 0) {
        uint64_t* zero = _2_alocs(2);
        if (zero == nullptr) return nullptr;
        zero[0] = NUMREC_HEADER(2);
        zero[1] = 0;
        return zero;
    }
    uint64_t* rec = _2_alocs(s.n + 3);
    if (rec == nullptr) return nullptr;
    if (_a_numtonum(rec, src, s.n + 3) != 0) {  // a record of the largest length
        _2_frees();
        return nullptr;
    }
    _9_len1st(rec, _1_muln(numrec::mantissa(rec), s.n, m));
    return rec;
}

extern "C" uint64_t* _a_numtorsupaloc(uint64_t v, uint64_t e) {
    PRF_ENTER(_a_numtorsupaloc);
    uint64_t words = _3_petaqwl(e);
    if (words > NUMREC_LENL_MAX) return nullptr;
    uint64_t* rec = _2_alocs(words + 4);
    if (rec == nullptr) return nullptr;
    rec[0] = NUMREC_HEADER(words + 4) | 1;
    rec[1] = 0;
    rec[2] = v;
    // The move fails only on an exponent overflow or for a power of 10^16 too
    // large for the record; the record would then not hold v at -e.
    if (_a_adjnumsup(rec, e) != 0) {
        _2_frees();
        return nullptr;
    }
    return rec;
}

extern "C" uint64_t* _a_numtoalocadj(uint64_t* src, uint64_t l, int64_t e) {
    PRF_ENTER(_a_numtoalocadj);
    uint64_t* rec = _a_numtoaloc(src, l);
    if (rec == nullptr) return nullptr;
    int64_t moved = 0;
    if (e > 0) moved = _a_adjnumsup(rec, static_cast<uint64_t>(e));
    if (e < 0) moved = _a_adjnumsdown(rec, 0 - static_cast<uint64_t>(e));
    if (moved != 0) {
        _2_frees();
        return nullptr;
    }
    return rec;
}
