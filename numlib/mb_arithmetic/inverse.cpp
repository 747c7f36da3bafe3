// Inverses: 1 / x through a copy of x, truncated at x's own exponent or with
// as many digits as x holds.
#include "numlib/m9_numrec/numrec_view.h"
#include "profiler/hook.h"
#include "q64/m2_scratch.h"
#include "q64/m9_numrec.h"
#include "q64/ma_alloctext.h"
#include "q64/mb_arithmetic.h"

namespace {
// A zero x has no inverse: -1 before anything changes. A nonzero x has at
// least 3 words, room for the record of 1. When the division fails, x gets
// its value back from the copy.
int64_t invert(uint64_t* x, bool fill) {
    if (numrec::isZero(x)) return -1;
    uint64_t* copy = _a_numtoaloc(x, 0);
    if (copy == nullptr) return -1;
    const int64_t e = _9_exp(x);
    _a_numbintor(x, 0, 1, 0);
    const int64_t result = fill ? _b_divrndsz(x, copy) : _b_divrnd(x, copy, e);
    if (result != 0) _a_numovnum(x, copy);
    return _2_freertn(result == 0 ? 0 : -1);
}
}  // namespace

extern "C" int64_t _b_inverse(uint64_t* x) {
    PRF_ENTER(_b_inverse);
    return invert(x, false);
}

extern "C" int64_t _b_inversez(uint64_t* x) {
    PRF_ENTER(_b_inversez);
    return invert(x, true);
}
