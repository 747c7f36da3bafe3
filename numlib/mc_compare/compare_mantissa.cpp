// Validity, sign, and comparisons of mantissas that ignore the exponents.
#include "numlib/m9_numrec/numrec_view.h"
#include "profiler/hook.h"
#include "q64/m0_utilities.h"
#include "q64/m9_numrec.h"
#include "q64/mc_compare.h"

namespace {
inline bool negative(const uint64_t* x) { return (x[0] & NUMREC_SIGN_BIT) != 0; }
}  // namespace

extern "C" int64_t _c_valid(const uint64_t* x) {
    PRF_ENTER(_c_valid);
    return _9_exp(x) == NUMREC_EXP_INVALID ? 0 : 1;
}

extern "C" int64_t _c_zero(const uint64_t* x) {
    PRF_ENTER(_c_zero);
    if (_9_len(x) == 0) return 0;
    return negative(x) ? -1 : 1;
}

extern "C" int64_t _c_cmpnum(uint64_t* a, uint64_t* b) {
    PRF_ENTER(_c_cmpnum);
    numrec::Significant sa = numrec::significant(a);
    numrec::Significant sb = numrec::significant(b);
    if (sa.n != sb.n) return sa.n < sb.n ? -1 : 1;
    return sa.n == 0 ? 0 : _0_cmp(sa.p, sb.p, sa.n);
}

extern "C" int64_t _c_cmprnum(uint64_t* a, uint64_t* b) {
    PRF_ENTER(_c_cmprnum);
    const int64_t signA = _c_zero(a);
    const int64_t signB = _c_zero(b);
    if (signA != signB) return signA < signB ? -1 : 1;
    if (signA == 0) return 0;
    const int64_t r = _c_cmpnum(a, b);
    return signA < 0 ? -r : r;
}
