// Magnitude addition and subtraction in a window of x's mantissa that ends at
// its last word and holds at least y's significant words.
#include "numlib/m9_numrec/numrec_view.h"
#include "profiler/hook.h"
#include "q64/m0_utilities.h"
#include "q64/m1_wordarrays.h"
#include "q64/m9_numrec.h"
#include "q64/ma_alloctext.h"
#include "q64/mb_arithmetic.h"

namespace {
struct Window {
    uint64_t* w;  // null when x has no room for y's significant words
    uint64_t n;
};

Window chooseWindow(uint64_t* x, numrec::Significant sx, uint64_t ny) {
    if (sx.n >= ny) return Window{sx.p, sx.n};
    uint64_t lenv = _9_lenv(x);
    if (lenv >= ny) return Window{numrec::mantissa(x), lenv};
    if (_9_lenmxv(x) < ny) return Window{nullptr, 0};
    _9_expdslenm(x, ny - lenv);
    return Window{numrec::mantissa(x), ny};
}
}  // namespace

extern "C" int64_t _b_addnp(uint64_t* x, uint64_t* y) {
    PRF_ENTER(_b_addnp);
    numrec::Significant sy = numrec::significant(y);
    if (sy.n == 0) return 0;
    numrec::Significant sx = numrec::significant(x);
    if (sx.n == 0) return _a_numtonump(x, y);
    Window win = chooseWindow(x, sx, sy.n);
    if (win.w == nullptr) return -1;
    // y's words are x's own when y is x: doubling is a shift by one bit.
    int64_t carry = x == y ? _0_bitshtl(win.w, win.n, 1) : _1_add(win.w, win.n, sy.p, sy.n);
    if (carry == 0) return 0;
    if (win.w != numrec::mantissa(x)) {
        win.w[-1] = 1;  // a leading zero word takes the carry
        return 0;
    }
    if (_9_expdslen1(x) < 0) return -1;  // x is lost: it holds the sum without its carry
    numrec::mantissa(x)[0] = 1;
    return 0;
}

extern "C" int64_t _b_subnp(uint64_t* x, uint64_t* y) {
    PRF_ENTER(_b_subnp);
    numrec::Significant sy = numrec::significant(y);
    if (sy.n == 0) return 0;
    numrec::Significant sx = numrec::significant(x);
    if (sx.n == 0) return _a_numtonump(x, y) < 0 ? -1 : 1;
    if (x == y) {
        for (uint64_t i = 0; i < sx.n; ++i) sx.p[i] = 0;
        return 0;
    }
    Window win = chooseWindow(x, sx, sy.n);
    if (win.w == nullptr) return -1;
    if (_1_sub(win.w, win.n, sy.p, sy.n) == 0) return 0;
    // A borrow left the window: it holds |x| - |y| mod 2^(64n), whose
    // complement is |y| - |x|.
    _1_neg(win.w, win.n);
    return 1;
}
