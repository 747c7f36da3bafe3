// Whether two records lie within 10^(16t) of each other: the sign of
// |b - a| - 10^(16t). The quantity does not depend on the order of a and b,
// so exchanging them never changes the result.
#include "numlib/m9_numrec/numrec_view.h"
#include "profiler/hook.h"
#include "q64/m2_scratch.h"
#include "q64/m3_petapowers.h"
#include "q64/m9_numrec.h"
#include "q64/ma_alloctext.h"
#include "q64/mb_arithmetic.h"
#include "q64/mc_compare.h"

namespace {
constexpr int64_t kNoRoom = -9;
}  // namespace

extern "C" int64_t _c_cmpdexp(uint64_t* a, uint64_t* b, int64_t t) {
    PRF_ENTER(_c_cmpdexp);
    if (_9_exp(b) >= _9_exp(a)) return _c_cmpdexp1(a, b, t);
    return _c_cmpdexp1(b, a, t);
}

// b is copied into a record of max(la, lb) + _3_petaqwl(d) + 1 words and moved
// down to a's exponent: the copy's n words then leave a word for the carry of
// the difference, and a's significant words fit it too. A zero operand is
// taken directly (|b - a| is the other one's magnitude), since a zero copy
// keeps its exponent and could not be subtracted from.
extern "C" int64_t _c_cmpdexp1(uint64_t* a, uint64_t* b, int64_t t) {
    PRF_ENTER(_c_cmpdexp1);
    if (numrec::isZero(a)) return _c_cmpexp(b, t);
    if (numrec::isZero(b)) return _c_cmpexp(a, t);
    const int64_t ea = _9_exp(a);
    const int64_t eb = _9_exp(b);
    if (ea > eb) return _c_cmpdexp1(b, a, t);
    const uint64_t d = static_cast<uint64_t>(eb) - static_cast<uint64_t>(ea);
    const uint64_t la = _9_lenl(a);
    const uint64_t lb = _9_lenl(b);
    const uint64_t size = (la > lb ? la : lb) + _3_petaqwl(d) + 1;
    if (size > NUMREC_LENL_MAX) return kNoRoom;
    uint64_t* copy = _a_numtoalocadj(b, size, static_cast<int64_t>(d));
    if (copy == nullptr) return kNoRoom;
    if (_b_sub(copy, a) != 0) return _2_freertn(kNoRoom);
    return _2_freertn(_c_cmpexp(copy, t));
}
