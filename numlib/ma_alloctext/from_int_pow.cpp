// Records of integer powers: the largest power that fits one word, then one
// factor of the base at a time.
#include "numlib/m9_numrec/numrec_view.h"
#include "profiler/hook.h"
#include "q64/m0_utilities.h"
#include "q64/m1_wordarrays.h"
#include "q64/m9_numrec.h"
#include "q64/ma_alloctext.h"

// Each factor needs the word behind M (_1_muln writes it), so none may start
// once M fills l - 2 words.
extern "C" int64_t _a_numpowtor(uint64_t* area, uint64_t l, uint64_t base, uint64_t exponent) {
    PRF_ENTER(_a_numpowtor);
    if (l == 0) l = _9_lenl(area);
    if (l <= 4 || l > NUMREC_LENL_MAX) return -1;
    const Q2Value power = _0_pow64(base, exponent);  // {base^j, j}, j = 0 when it all fits
    uint64_t* m = numrec::mantissa(area);
    m[0] = power.lo;
    uint64_t lenv = 1;
    if (power.hi != 0) {
        const uint64_t capacity = l - 2;
        for (uint64_t i = power.hi; i < exponent; ++i) {
            if (lenv >= capacity) return -1;
            lenv = _1_muln(m, lenv, base);
            if (m[0] == 0) lenv = static_cast<uint64_t>(_0_prs1mem(m, lenv));
        }
    }
    area[1] = 0;
    _9_len2st(area, lenv, l);
    return 0;
}
