// Sizes for text conversion: where the significant mantissa words of a record
// begin, and how many mantissa words the reading of a text may need.
#include "numlib/m0/scan.h"
#include "numlib/m0/wordcmp.h"
#include "numlib/m3/peta.h"
#include "numlib/m4/peta_digits.h"
#include "numlib/m9/numrec.h"
#include "profiler/hook.h"

extern "C" Q2Value _4_pzsize(const uint64_t* rec) {
    PRF_ENTER(_4_pzsize);
    const uint64_t lenv = _9_lenv(rec);
    if (lenv == 0) return Q2Value{0, 0};
    const uint64_t zeros = static_cast<uint64_t>(_0_cntzero(rec + 2, lenv));
    return Q2Value{zeros, lenv - zeros};
}

// The integer and fraction digits of m characters make at most
// max(m - 2, 0) div 16 + 2 peta digits (one partial group on each side of the
// point); the extra word is the one a decimal exponent's scaling adds.
extern "C" uint64_t _4_ndsize(const char* text, uint64_t len) {
    PRF_ENTER(_4_ndsize);
    uint64_t m = _0_scanatoz(text, len, 'e');
    if (m != 0 && (text[0] == '+' || text[0] == '-')) --m;
    const uint64_t petaDigits = (m > 2 ? m - 2 : 0) / 16 + 2;
    return _3_petaqwl(petaDigits) + 1;
}
