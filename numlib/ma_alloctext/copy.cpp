// Copies between NumRecs that allocate nothing: compact copies of the whole
// record, of the mantissa only, and permanent copies on the constant stack.
#include <cstring>

#include "numlib/m9_numrec/numrec_view.h"
#include "profiler/hook.h"
#include "q64/m2_scratch.h"
#include "q64/m9_numrec.h"
#include "q64/ma_alloctext.h"

namespace {
// Source and destination may overlap when a record is copied onto itself.
inline void moveWords(uint64_t* dst, const uint64_t* src, uint64_t n) {
    if (n != 0 && dst != src) std::memmove(dst, src, n * sizeof(uint64_t));
}
}  // namespace

extern "C" int64_t _a_numtonum(uint64_t* dst, uint64_t* src, uint64_t l) {
    PRF_ENTER(_a_numtonum);
    if (l == 0) l = _9_lenl(src);
    numrec::Significant s = numrec::significant(src);
    if (s.n + 2 > l || l > NUMREC_LENL_MAX) return -1;
    dst[0] = src[0];
    dst[1] = src[1];
    _9_len2st(dst, s.n, l);
    moveWords(numrec::mantissa(dst), s.p, s.n);
    return 0;
}

extern "C" int64_t _a_numovnum(uint64_t* dst, uint64_t* src) {
    PRF_ENTER(_a_numovnum);
    return _a_numtonum(dst, src, _9_lenl(dst));
}

extern "C" int64_t _a_numtonump(uint64_t* dst, uint64_t* src) {
    PRF_ENTER(_a_numtonump);
    numrec::Significant s = numrec::significant(src);
    if (_9_lenmxv(dst) < s.n) return -1;
    moveWords(numrec::mantissa(dst), s.p, s.n);
    _9_len1st(dst, s.n);
    return 0;
}

extern "C" uint64_t* _a_numtocnst(uint64_t* src, uint64_t l) {
    PRF_ENTER(_a_numtocnst);
    numrec::Significant s = numrec::significant(src);
    if (l == 0) l = s.n + 2;
    if (l < s.n + 2) return nullptr;
    uint64_t* rec = _2_caloc(l);
    if (rec == nullptr) return nullptr;
    rec[0] = (src[0] & NUMREC_SIGN_BIT) | NUMREC_HEADER(s.n + 2) | s.n;
    rec[1] = src[1];
    moveWords(numrec::mantissa(rec), s.p, s.n);
    return rec;
}
