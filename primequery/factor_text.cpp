// Factorisation text. The longest text of a number below 2^128 (many small
// primes, some with exponents) stays near 130 bytes, far below the 256 bytes
// of the dialog's 32-word buffer.
#include "q64/m5_primequery.h"

#include "profiler/hook.h"
#include "q64/m0_utilities.h"

namespace {

const char kSeparator[] = " * ";

char* putCofactor(char* out, const FactorList* list, uint64_t s) {
    return out + _0_numq2tostr(out, list->word[s], list->word[s + 1]);
}

}  // namespace

extern "C" char* _5_cvtfctn(const uint64_t* run, uint64_t len, char* out) {
    PRF_ENTER(_5_cvtfctn);
    out += _0_numtostr(out, run[0]);
    if (len > 1) {
        *out++ = '^';
        out += _0_numtostr(out, len);
    }
    return out;
}

extern "C" int64_t _5_prmfctpp(char* buf, const FactorList* list) {
    PRF_ENTER(_5_prmfctpp);
    uint64_t s = factorCount(list);
    uint64_t cofactors = cofactorCount(list);
    char* out = buf;
    if (s == 0) {
        if (cofactors != 0) out = putCofactor(out, list, 0);
        *out = '\0';
        return 0;
    }
    uint64_t i = 0;
    for (;;) {
        uint64_t run = _0_cntdup(&list->word[i], s - i);
        out = _5_cvtfctn(&list->word[i], run, out);
        i += run;
        if (i >= s) break;
        out += _0_strcpych(out, kSeparator, 0) - 1;
    }
    if (cofactors != 0) {
        out += _0_strcpych(out, kSeparator, 0) - 1;
        out = putCofactor(out, list, s);
    }
    *out = '\0';
    return 0;
}

extern "C" char* _5_prmfctput(char* buf, const FactorList* list) {
    PRF_ENTER(_5_prmfctput);
    if (factorCount(list) + cofactorCount(list) == 1) {
        buf[0] = '!';
        buf[1] = '\0';
        return buf;
    }
    _5_prmfctpp(buf, list);
    return buf;
}
