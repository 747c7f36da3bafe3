// The exponent form of a record, with all digits or with d significant
// digits: d.ddd...e+X with X = 16e + k - 1, computed in 128 bits.
#include "numlib/m9_numrec/numrec_view.h"
#include "numlib/ma_alloctext/text_work.h"
#include "profiler/hook.h"
#include "q64/m0_utilities.h"
#include "q64/m4_petadigits.h"
#include "q64/m9_numrec.h"
#include "q64/ma_alloctext.h"

namespace {
constexpr uint64_t kDigitsPerPeta = 16;

// Writes the exponent form of rec with X raised by extra (16 for each peta
// digit the d-digit form dropped without raising e); {buf, length}.
Q2Value exponentForm(char* buf, uint64_t* rec, uint64_t extra) {
    textconv::Conversion& c = textconv::conversion;
    c.buffer = buf;
    c.record = rec;
    buf[0] = static_cast<char>(_a_asign(rec[0]));
    const uint64_t k = _a_bintostr1(numrec::mantissa(rec), _9_lenv(rec), buf + 1);
    const uint64_t at = reinterpret_cast<uint64_t>(buf);
    if (k == 0) return Q2Value{at, 0};
    c.cursor = buf + 2 + k;  // sign, k digits and the point
    c.cursor += _a_expntostr(c.cursor, _9_exp(rec), k - 1 + extra);
    *c.cursor = 0;
    return Q2Value{at, static_cast<uint64_t>(c.cursor - buf)};
}
}  // namespace

extern "C" Q2Value _a_expsign(char* out, uint64_t lo, uint64_t hi) {
    PRF_ENTER(_a_expsign);
    if (static_cast<int64_t>(hi) >= 0) {
        *out = '+';
        return Q2Value{lo, hi};
    }
    *out = '-';
    const unsigned __int128 x = -((static_cast<unsigned __int128>(hi) << 64) | lo);
    return Q2Value{static_cast<uint64_t>(x), static_cast<uint64_t>(x >> 64)};
}

extern "C" uint64_t _a_expntostr(char* out, int64_t e, uint64_t km1) {
    PRF_ENTER(_a_expntostr);
    const Q2Value x = _0_addq2(_0_sftlq2(_0_cvtqtoq2(e), 4), km1);  // 16e + k - 1
    out[0] = 'e';
    const Q2Value magnitude = _a_expsign(out + 1, x.lo, x.hi);
    return 2 + _0_numq2tostr(out + 2, magnitude.lo, magnitude.hi);
}

// The digits go one place further on, then the first comes back in front of
// the point.
extern "C" uint64_t _a_bintostr1(uint64_t* a, uint64_t lenv, char* out) {
    PRF_ENTER(_a_bintostr1);
    const uint64_t zeros = lenv == 0 ? 0 : static_cast<uint64_t>(_0_cntzero(a, lenv));
    if (zeros == lenv) {
        out[0] = '0';
        out[1] = '.';
        out[2] = '0';
        out[3] = 0;
        return 0;
    }
    const uint64_t k = _4_numtostr(out + 1, a + zeros, lenv - zeros);
    out[0] = out[1];
    out[1] = '.';
    return k;
}

extern "C" Q2Value _a_numtoestr(char* buf, uint64_t* rec) {
    PRF_ENTER(_a_numtoestr);
    return exponentForm(buf, rec, 0);
}

// Whole peta digits are dropped first, so that only about d digits are
// converted; the digits are then cut (or padded) to d.
extern "C" char* _a_numtoestrn(char* buf, uint64_t d, uint64_t* rec) {
    PRF_ENTER(_a_numtoestrn);
    textconv::Conversion& c = textconv::conversion;
    c.bitBudget = _a_pbtsize(d);
    const Q2Value z = _4_pzsize(rec);
    c.first = numrec::mantissa(rec) + z.lo;
    c.count = z.hi;
    c.divisions = 0;
    if (c.count != 0 && _a_bit2num(c.first, c.count, c.bitBudget) != 0) {
        c.divisions = _a_divpetan(c.first, c.count, c.bitBudget);
    }
    Q2Value text;
    if (numrec::expAddCount(rec, c.divisions)) {
        text = _a_numtoestr(buf, rec);
    } else {  // e cannot take the divisions: X takes them instead
        text = exponentForm(buf, rec, kDigitsPerPeta * c.divisions);
    }
    if (text.hi == 0) {
        _a_strzeron(buf, d);
    } else {
        _a_strnumn(buf, text.hi, d);
    }
    return buf;
}
