// Rows of modules _1_ (word-array arithmetic), _2_ (scratch stacks) and _3_
// (powers of 10^16).
#include "q64/q64.h"
#include "tests/profiler/routine_calls.h"

namespace prftest {

void addArrayCalls(RoutineCalls& c) {
    using W = uint64_t;
    // Arrays are most significant word first; every divisor's first word is
    // non-zero and every window below its divisor, as the division steps need.
    c["_1_mul"] = [] { W r[2] = {2, 0}, a[1] = {3}; _1_mul(r, 1, a, 1); };
    c["_1_mul1n"] = [] { W r[2] = {0, 1}, a[1] = {5}; _1_mul1n(r, a, 1, 3); };
    c["_1_muln"] = [] { W a[2] = {5, 0}; _1_muln(a, 1, 3); };
    c["_1_mul10n"] = [] { W a[2] = {5, 0}; _1_mul10n(a, 1, 3); };
    c["_1_div"] = [] { W a[2] = {0, 100}, b[1] = {7}; _1_div(a, 2, b, 1); };
    c["_1_div1"] = [] { W a[2] = {1, 100}, b[1] = {7}; _1_div1(a, 2, b, 1); };
    c["_1_divmn"] = [] { W a[2] = {1, 5}, b[1] = {7}; _1_divmn(a, 2, b, 1); };
    c["_1_div12"] = [] { W w[2] = {1, 5}, b[1] = {7}; _1_div12(w, b, 1, 2); };
    c["_1_divtr"] = [] { W w[3] = {1, 2, 3}, b[2] = {7, 1}; _1_divtr(w, b, 2); };
    c["_1_div1n"] = [] { W a[1] = {100}; _1_div1n(a, 1, 7); };
    c["_1_n1mxn2n"] = [] { W w[2] = {1, 0}, b[1] = {1}; _1_n1mxn2n(w, b, 1, 0); };
    c["_1_sub122"] = [] { W w[1] = {10}, b[1] = {1}; _1_sub122(w, b, 1, 1); };
    c["_1_sub122n"] = [] { W w[2] = {1, 0}, b[1] = {1}; _1_sub122n(w, b, 1, 1); };
    c["_1_sub12n"] = [] { W w[2] = {1, 0}, b[1] = {1}; _1_sub12n(w, b, 1, 1); };
    c["_1_sub"] = [] { W a[2] = {1, 0}, b[1] = {1}; _1_sub(a, 2, b, 1); };
    c["_1_subn"] = [] { W a[2] = {1, 0}; _1_subn(a, 2, 1); };
    c["_1_add"] = [] { W a[2] = {1, 0}, b[1] = {1}; _1_add(a, 2, b, 1); };
    c["_1_addn"] = [] { W a[2] = {1, 0}; _1_addn(a, 2, 1); };
    c["_1_neg"] = [] { W a[2] = {1, 0}; _1_neg(a, 2); };

    // Each row gives back the blocks it takes.
    c["_2_caloc"] = [] { _2_caloc(1); };  // the constant stack keeps it for good
    c["_2_sizes"] = [] { if (_2_alocs(3)) { _2_sizes(); _2_frees(); } };
    c["_2_freertn"] = [] { if (_2_alocs(3)) _2_freertn(0); };
    c["_2_frees"] = [] { if (_2_alocs(3)) _2_frees(); };
    c["_2_addrs"] = [] { _2_addrs(); };
    c["_2_left"] = [] { _2_left(); };
    c["_2_alocs"] = [] { if (_2_alocs(3)) _2_frees(); };
    // Runs with the working stack empty: empties it with its own capacity.
    c["_2_inistk"] = [] { _2_inistk(static_cast<W>(_2_left()) + 2); };

    c["_3_petaddr"] = [] { _3_petaddr(40); };
    c["_3_mkpeta"] = [] { W d[8]; _3_mkpeta(d, 3); };
    c["_3_petaqwl"] = [] { _3_petaqwl(3); };
    c["_3_petabitl"] = [] { _3_petabitl(3); };
    c["_3_petaqw"] = [] { _3_petaqw(3); };
    c["_3_bitpetal"] = [] { _3_bitpetal(100); };
    c["_3_peta"] = [] { _3_peta(2); };

    c["_4_pzsize"] = [] { W r[4] = {NUMREC_HEADER(4) | 2, 0, 0, 5}; _4_pzsize(r); };
    c["_4_ndsize"] = [] { _4_ndsize("-12.5e3", 7); };
    c["_4_numtostr"] = [] { W a[2] = {1, 0}; char t[24]; _4_numtostr(t, a, 2); };
    c["_4_cmpeta"] = [] { W a[1] = {5}; _4_cmpeta(a, 1); };
    c["_4_numtozstr"] = [] { W a[1] = {5}; char t[16]; _4_numtozstr(t, a, 1); };
    c["_4_strlntonumr"] = [] { W a[2] = {}; _4_strlntonumr(a, 0, "25", 2); };
    c["_4_strntonumr"] = [] { W a[2] = {}; _4_strntonumr(a, 0, "25", 2); };
    c["_4_mpetadd"] = [] { W a[2] = {5}; _4_mpetadd(a, 1, 7); };
}

}  // namespace prftest
