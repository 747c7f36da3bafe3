// Reading decimal digits into a word array, sixteen at a time: every group
// enters as one peta digit through A = A * 10^16 + v.
#include "q64/m0_utilities.h"
#include "q64/m1_wordarrays.h"
#include "numlib/m4_petadigits/digits_dc.h"
#include "q64/m4_petadigits.h"
#include "q64/m9_numrec.h"
#include "profiler/hook.h"

namespace {
constexpr uint64_t kGroup = 16;
}

extern "C" uint64_t _4_mpetadd(uint64_t* a, uint64_t lenv, uint64_t v) {
    PRF_ENTER(_4_mpetadd);
    if (lenv == 0) {
        if (v == 0) return 0;
        a[0] = v;
        return 1;
    }
    lenv = _1_muln(a, lenv, NUMREC_PETA);
    _1_addn(a, lenv, v);  // A * 10^16 + v fits the L + 1 words: no carry leaves a[0]
    if (a[0] == 0) lenv = static_cast<uint64_t>(_0_prs1mem(a, lenv));
    return lenv;
}

// Grouped from the right: the short group, if any, is the most significant.
// Long texts are read by halves when the working stack has room for it.
extern "C" uint64_t _4_strntonumr(uint64_t* a, uint64_t lenv, const char* digits, uint64_t count) {
    PRF_ENTER(_4_strntonumr);
    uint64_t length;
    if (m4::readByHalves(a, lenv, m4::PetaDigits{digits, count, false}, &length)) return length;
    const uint64_t head = count % kGroup;
    if (head != 0) lenv = _4_mpetadd(a, lenv, _0_strtonum(digits, head));
    for (uint64_t i = head; i < count; i += kGroup) lenv = _4_mpetadd(a, lenv, _0_strtonum(digits + i, kGroup));
    return lenv;
}

// Grouped from the left: the short group, if any, is the least significant and
// stands for its digits followed by zeros.
extern "C" uint64_t _4_strlntonumr(uint64_t* a, uint64_t lenv, const char* digits, uint64_t count) {
    PRF_ENTER(_4_strlntonumr);
    uint64_t length;
    if (m4::readByHalves(a, lenv, m4::PetaDigits{digits, count, true}, &length)) return length;
    const uint64_t whole = count - count % kGroup;
    for (uint64_t i = 0; i < whole; i += kGroup) lenv = _4_mpetadd(a, lenv, _0_strtonum(digits + i, kGroup));
    if (whole != count) lenv = _4_mpetadd(a, lenv, _0_strltonum(digits + whole, count - whole));
    return lenv;
}
