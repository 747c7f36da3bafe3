// Sizes for text conversion: where the significant mantissa words of a record
// begin, and how many mantissa words the reading of a text may need.
#include "numlib/m4_petadigits/digit_sizes.h"
#include "profiler/hook.h"
#include "q64/m0_utilities.h"
#include "q64/m3_petapowers.h"
#include "q64/m4_petadigits.h"
#include "q64/m9_numrec.h"

extern "C" Q2Value _4_pzsize(const uint64_t* rec) {
    PRF_ENTER(_4_pzsize);
    const uint64_t lenv = _9_lenv(rec);
    if (lenv == 0) return Q2Value{0, 0};
    const uint64_t zeros = static_cast<uint64_t>(_0_cntzero(rec + 2, lenv));
    return Q2Value{zeros, lenv - zeros};
}

extern "C" uint64_t _4_ndsize(const char* text, uint64_t len) {
    PRF_ENTER(_4_ndsize);
    return petadigits::textWords(text, len);
}
