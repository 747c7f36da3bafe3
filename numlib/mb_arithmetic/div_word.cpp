// Division by one word and by powers of ten. Powers of 10^16 live in the
// exponent; any other power of ten costs one one-word product, never a
// division of the mantissa.
#include "numlib/m9_numrec/numrec_view.h"
#include "profiler/hook.h"
#include "q64/m1_wordarrays.h"
#include "q64/m9_numrec.h"
#include "q64/mb_arithmetic.h"

extern "C" int64_t _b_divnum(uint64_t* x, uint64_t d) {
    PRF_ENTER(_b_divnum);
    if (d == 0) return -1;
    if (d == 1) return 0;
    numrec::Significant s = numrec::significant(x);
    if (s.n != 0) _1_div1n(s.p, s.n, d);
    return 0;
}

extern "C" int64_t _b_divsnum(uint64_t* x, int64_t k) {
    PRF_ENTER(_b_divsnum);
    if (k == 0) return -1;
    if (k > 0) return _b_divnum(x, static_cast<uint64_t>(k));
    _9_signeg(x);
    return _b_divnum(x, 0 - static_cast<uint64_t>(k));
}

extern "C" int64_t _b_div16n(uint64_t* x, uint64_t k) {
    PRF_ENTER(_b_div16n);
    return numrec::expSubCount(x, k) ? 0 : -1;
}

// x / 10^k = x * 10^(16-r) / 10^(16(q+1)) for k = 16q + r, 0 < r < 16. The
// exponent is checked first, so that a failure leaves x as it was.
extern "C" int64_t _b_div10n(uint64_t* x, uint64_t k) {
    PRF_ENTER(_b_div10n);
    uint64_t q = k / 16;
    const uint64_t r = k % 16;
    if (r == 0) return _b_div16n(x, q);
    ++q;
    if (static_cast<__int128>(_9_exp(x)) - q < INT64_MIN) return -1;
    if (_b_mul10n(x, 16 - r) != 0) return -1;
    return _b_div16n(x, q);
}
