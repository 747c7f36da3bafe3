// Records from one-word integers, optionally rescaled by a count of peta
// digits (finer for a negative count, coarser for a positive one).
#include "numlib/m9_numrec/numrec_view.h"
#include "profiler/hook.h"
#include "q64/m0_utilities.h"
#include "q64/m9_numrec.h"
#include "q64/ma_alloctext.h"

namespace {
// Moves the record by t peta digits: M * 10^(16|t|) for t < 0, M div
// 10^(16t) for t > 0.
int64_t rescale(uint64_t* rec, int64_t t) {
    if (t < 0) return _a_adjnumsup(rec, 0 - static_cast<uint64_t>(t));
    if (t > 0) return _a_adjnumsdown(rec, static_cast<uint64_t>(t));
    return 0;
}
}  // namespace

extern "C" int64_t _a_numtor(uint64_t* area, uint64_t l, uint64_t v) {
    PRF_ENTER(_a_numtor);
    if (l == 0) l = _9_lenl(area);
    if (l < 3 || l > NUMREC_LENL_MAX) return -1;
    area[0] = 0;
    area[1] = 0;
    numrec::mantissa(area)[0] = v;
    _9_len2st(area, v != 0 ? 1 : 0, l);
    return 0;
}

extern "C" int64_t _a_numstor(uint64_t* area, uint64_t l, uint64_t v, uint64_t sign) {
    PRF_ENTER(_a_numstor);
    if (_a_numtor(area, l, v) != 0) return -1;
    const uint64_t b = sign & 0xFF;
    if (b != '+' && b != 0) _9_signst(area, 1);
    return 0;
}

extern "C" int64_t _a_numstorvt(uint64_t* area, uint64_t l, uint64_t v, uint64_t sign) {
    PRF_ENTER(_a_numstorvt);
    if (_a_numstor(area, l, v, sign) != 0) return -1;
    return rescale(area, statget());
}

extern "C" int64_t _a_numbintor(uint64_t* area, uint64_t l, int64_t v, int64_t t) {
    PRF_ENTER(_a_numbintor);
    const uint64_t magnitude = v < 0 ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
    if (_a_numstor(area, l, magnitude, v < 0 ? '-' : '+') != 0) return -1;
    return rescale(area, t);
}
