// Adding or subtracting one unsigned word: the word becomes a scratch record at
// x's exponent, or, where x's last word counts units of 10^16 or more, only
// the part of it that reaches that word is added.
#include "profiler/hook.h"
#include "q64/m0_utilities.h"
#include "q64/m2_scratch.h"
#include "q64/m9_numrec.h"
#include "q64/ma_alloctext.h"
#include "q64/mb_arithmetic.h"

namespace {
int64_t addWord(uint64_t* x, uint64_t k, int64_t (*op)(uint64_t*, uint64_t*)) {
    if (k == 0) return 0;  // x + 0: no scratch record, whatever the exponent
    int64_t e = _9_exp(x);
    uint64_t* t;
    if (e <= 0) {
        t = _a_numtorsupaloc(k, 0 - static_cast<uint64_t>(e));
        if (t == nullptr) return -1;
    } else if (e == 1) {
        uint64_t q = k / NUMREC_PETA;  // at most 1844; the rest lies below x's last digit
        if (q == 0) return 0;
        t = _2_alocs(3);
        if (t == nullptr) return -1;
        t[0] = NUMREC_HEADER(3) | 1;
        t[1] = 1;
        t[2] = q;
    } else {
        return 0;  // k < 10^20 cannot reach a word of weight 10^32 or more
    }
    return _2_freertn(op(x, t));
}
}  // namespace

extern "C" int64_t _b_addnum(uint64_t* x, uint64_t k) {
    PRF_ENTER(_b_addnum);
    return addWord(x, k, _b_add);
}

extern "C" int64_t _b_subnum(uint64_t* x, uint64_t k) {
    PRF_ENTER(_b_subnum);
    return addWord(x, k, _b_sub);
}

extern "C" int64_t _b_addsnum(uint64_t* x, int64_t k) {
    PRF_ENTER(_b_addsnum);
    if (k > 0) return _b_addnum(x, static_cast<uint64_t>(k));
    if (k < 0) return _b_subnum(x, 0 - static_cast<uint64_t>(k));
    return 0;
}
