// Reading a record from decimal text: the sign, the integer digits and the
// fraction go into M and e; the decimal exponent is applied by text_scale.cpp.
#include "numlib/m4_petadigits/digit_sizes.h"
#include "numlib/m9_numrec/numrec_view.h"
#include "platform/precondition.h"
#include "profiler/hook.h"
#include "q64/m0_utilities.h"
#include "q64/m4_petadigits.h"
#include "q64/m9_numrec.h"
#include "q64/ma_alloctext.h"

namespace {
constexpr uint64_t kDigitsPerPeta = 16;
}

extern "C" Q2Value _a_sign(const char* text, uint64_t len) {
    PRF_ENTER(_a_sign);
    if (len == 0) return Q2Value{0, 0};
    if (text[0] == '-') return Q2Value{1, 1};
    if (text[0] == '+') return Q2Value{0, 1};
    return Q2Value{0, 0};
}

extern "C" int64_t _a_strdig(uint64_t* rec, const char* text, uint64_t len) {
    PRF_ENTER(_a_strdig);
    const int64_t found = _0_scanchnum(text, len, '.');
    if (found < 0) return -1;
    const uint64_t point = static_cast<uint64_t>(found);  // len when there is none
    uint64_t* m = numrec::mantissa(rec);
    uint64_t lenv = 0;
    if (point != 0) lenv = _4_strntonumr(m, 0, text, point);
    if (point + 1 < len) {
        const char* fraction = text + point + 1;
        const uint64_t r = len - point - 1;
        if (_0_chnum(fraction, r) != 0) return -1;
        if (!numrec::expSubCount(rec, r / kDigitsPerPeta + (r % kDigitsPerPeta != 0))) return -1;
        lenv = _4_strlntonumr(m, lenv, fraction, r);
    }
    _9_len1st(rec, lenv);
    return 0;
}

extern "C" int64_t _a_strdigtor(uint64_t* rec, const char* text, uint64_t len) {
    PRF_ENTER(_a_strdigtor);
    const Q2Value sign = _a_sign(text, len);
    if (sign.lo != 0) _9_signst(rec, 1);
    if (len == sign.hi) return -1;  // nothing but the sign
    return _a_strdig(rec, text + sign.hi, len - sign.hi);
}

extern "C" int64_t _a_strtor(uint64_t* area, uint64_t l, const char* text, uint64_t len) {
    PRF_ENTER(_a_strtor);
    if (l < 2 || l > NUMREC_LENL_MAX) return -1;
    Q64_ASSERT(petadigits::textWords(text, len) + 2 <= l);
    area[0] = NUMREC_HEADER(l);
    area[1] = 0;
    const uint64_t mantissaPart = _0_scanatoz(text, len, 'e');
    if (_a_strdigtor(area, text, mantissaPart) != 0) return -1;
    return _a_strdigtoexp(area, text + mantissaPart, len - mantissaPart);
}

extern "C" int64_t _a_struztor(uint64_t* area, uint64_t l, const char* text) {
    PRF_ENTER(_a_struztor);
    if (l == 0) l = _9_lenl(area);
    const uint64_t len = _0_strlen(text);
    if (_4_ndsize(text, len) + 2 > l) return -1;
    return _a_strtor(area, l, text, len);
}
