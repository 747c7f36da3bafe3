// Remainders of records of equal exponent, with the integer quotient kept in
// front of the remainder, returned in one word, or moved into a record.
#include "numlib/m9_numrec/numrec_view.h"
#include "numlib/mb_arithmetic/div_parts.h"
#include "platform/precondition.h"
#include "profiler/hook.h"
#include "q64/m0_utilities.h"
#include "q64/m1_wordarrays.h"
#include "q64/m9_numrec.h"
#include "q64/mb_arithmetic.h"

extern "C" int64_t _b_divrmd(uint64_t* x, uint64_t* y) {
    PRF_ENTER(_b_divrmd);
    if (_9_exp(x) != _9_exp(y)) return -1;
    const uint64_t ny = _9_len(y);
    if (ny == 0) return -1;
    numrec::Significant sx = numrec::significant(x);
    if (sx.n == 0 || sx.n < ny) return 0;
    return divparts::withDistinctDivisor(x, y, [x, sx](uint64_t* d) {
        numrec::Significant sy = numrec::significant(d);
        return _0_cmp(sx.p, sy.p, sy.n) >= 0 ? _b_divrmd0(x, d) : _b_divrmd1(x, d);
    });
}

// The leading ny words are not below My: the first quotient word goes into a
// zero word in front of them, the one already there or one inserted.
extern "C" int64_t _b_divrmd0(uint64_t* x, uint64_t* y) {
    PRF_ENTER(_b_divrmd0);
    numrec::Significant sx = numrec::significant(x);
    numrec::Significant sy = numrec::significant(y);
    uint64_t* m = numrec::mantissa(x);
    if (m[0] == 0) {
        _1_divmn(sx.p - 1, sx.n + 1, sy.p, sy.n);
    } else {
        if (_9_expdslen1(x) < 0) return -1;
        _1_divmn(m, sx.n + 1, sy.p, sy.n);
    }
    return static_cast<int64_t>(_9_lenv(x) - sy.n);
}

extern "C" int64_t _b_divrmd1(uint64_t* x, uint64_t* y) {
    PRF_ENTER(_b_divrmd1);
    numrec::Significant sx = numrec::significant(x);
    numrec::Significant sy = numrec::significant(y);
    if (sx.n == sy.n) return 0;  // x is below y
    _1_divmn(sx.p, sx.n, sy.p, sy.n);
    return static_cast<int64_t>(_9_lenv(x) - sy.n);
}

extern "C" int64_t _b_reminder(uint64_t* x, uint64_t* y) {
    PRF_ENTER(_b_reminder);
    const int64_t r = _b_divrmd(x, y);
    if (r <= 0) return r;
    return divparts::takeEncodedInteger(x, static_cast<uint64_t>(r));
}

extern "C" int64_t _b_divreminder(uint64_t* x, uint64_t* q, uint64_t* y) {
    PRF_ENTER(_b_divreminder);
    Q64_ASSERT(q != x && q != y);
    const int64_t r = _b_divrmd(x, y);
    if (r < 0) return -1;
    divparts::moveInteger(x, q, static_cast<uint64_t>(r));
    return 0;
}
