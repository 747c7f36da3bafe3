// Signed addition and subtraction of records with equal exponents, and the
// sign setters.
#include "profiler/hook.h"
#include "q64/m9_numrec.h"
#include "q64/mb_arithmetic.h"

namespace {
inline uint64_t signOf(const uint64_t* rec) { return rec[0] >> 63; }

// |x| +- |y| with the sign of the larger magnitude.
int64_t addSigned(uint64_t* x, uint64_t* y, bool sameSigns) {
    if (_9_exp(x) != _9_exp(y)) return -1;
    if (sameSigns) return _b_addnp(x, y);
    int64_t r = _b_subnp(x, y);
    if (r < 0) return -1;
    if (r == 1) _9_signeg(x);
    return 0;
}
}  // namespace

extern "C" int64_t _b_add(uint64_t* x, uint64_t* y) {
    PRF_ENTER(_b_add);
    return addSigned(x, y, signOf(x) == signOf(y));
}

extern "C" int64_t _b_sub(uint64_t* x, uint64_t* y) {
    PRF_ENTER(_b_sub);
    return addSigned(x, y, signOf(x) != signOf(y));
}

extern "C" int64_t _b_toposnum(uint64_t* x) {
    PRF_ENTER(_b_toposnum);
    _9_signst(x, 0);
    return 0;
}

extern "C" int64_t _b_tonegnum(uint64_t* x) {
    PRF_ENTER(_b_tonegnum);
    _9_signst(x, 1);
    return 1;
}

extern "C" int64_t _b_torevnum(uint64_t* x) {
    PRF_ENTER(_b_torevnum);
    return static_cast<int64_t>(_9_signeg(x));
}
