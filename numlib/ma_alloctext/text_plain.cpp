// The plain decimal form of a record, its size, and its printing into the
// scratch area; the sign characters shared by all forms.
#include <algorithm>

#include "numlib/m9_numrec/numrec_view.h"
#include "numlib/ma_alloctext/text_work.h"
#include "profiler/hook.h"
#include "q64/m0_utilities.h"
#include "q64/m2_scratch.h"
#include "q64/m3_petapowers.h"
#include "q64/m4_petadigits.h"
#include "q64/m9_numrec.h"
#include "q64/ma_alloctext.h"

textconv::Conversion textconv::conversion;

namespace {
constexpr uint64_t kDigitsPerPeta = 16;
// The longest plain text _a_prtnum writes, in characters.
constexpr uint64_t kPrintLimit = 16384;
constexpr uint64_t kTooLarge = ~uint64_t{0};

// a + b, or all ones when the sum does not fit.
uint64_t addSat(uint64_t a, uint64_t b) { return a > kTooLarge - b ? kTooLarge : a + b; }
// 16 * a, or all ones.
uint64_t petaDigitsSat(uint64_t a) { return a > kTooLarge / kDigitsPerPeta ? kTooLarge : kDigitsPerPeta * a; }
}  // namespace

extern "C" uint64_t _a_asign(uint64_t header) {
    PRF_ENTER(_a_asign);
    return (header & NUMREC_SIGN_BIT) != 0 ? '-' : '+';
}

extern "C" uint64_t _a_gsign(const uint64_t* rec) {
    PRF_ENTER(_a_gsign);
    return _a_asign(rec[0]);
}

extern "C" char* _a_numtostr(char* buf, uint64_t* rec) {
    PRF_ENTER(_a_numtostr);
    textconv::Conversion& c = textconv::conversion;
    c.buffer = buf;
    c.record = rec;
    const numrec::Significant s = numrec::significant(rec);
    c.first = s.p;
    c.count = s.n;
    if (c.count == 0) {
        buf[0] = '0';
        buf[1] = 0;
        return buf;
    }
    buf[0] = static_cast<char>(_a_asign(rec[0]));
    char* digits = buf + 1;
    const uint64_t k = _4_numtostr(digits, c.first, c.count);
    c.cursor = digits + k;
    const int64_t e = _9_exp(rec);
    if (e > 0) {
        const uint64_t zeros = kDigitsPerPeta * static_cast<uint64_t>(e);
        _0_chset(c.cursor, zeros, '0');
        c.cursor += zeros;
    } else if (e < 0) {
        const uint64_t f = kDigitsPerPeta * _9_absexp(rec);
        if (k > f) {
            _0_isrtch(digits, k, k - f, '.');
            c.cursor += 1;
        } else {  // "0.", f - k zeros, the k digits
            const uint64_t shift = f - k + 2;
            _0_strsftr(digits, k, shift);
            digits[0] = '0';
            digits[1] = '.';
            if (f > k) _0_chset(digits + 2, f - k, '0');
            c.cursor += shift;
        }
    }
    *c.cursor = 0;
    return buf;
}

// p is taken from 2^(64n), the smallest number of n + 1 words: every n-word
// number has at most as many peta digits. (2^(64n-1), the smallest n-word
// number, may have one peta digit less than the largest, e.g. for n = 49.)
// The text after the sign needs k + 1 bytes for e >= 0 (NUL included), and
// for e < 0 k + 2 when k > f, f + 3 ("0." and f digits) when k <= f.
extern "C" uint64_t _a_prdsize(const uint64_t* rec) {
    PRF_ENTER(_a_prdsize);
    const uint64_t n = _9_len(rec);
    if (n == 0) return 16;
    const uint64_t p = kDigitsPerPeta * _3_bitpetal(64 * n + 1);
    const int64_t e = _9_exp(rec);
    if (e > 0) return addSat(addSat(p, 2), petaDigitsSat(static_cast<uint64_t>(e)));
    if (e == 0) return p + 2;
    const uint64_t f = petaDigitsSat(_9_absexp(rec));
    return f < p ? p + 3 : addSat(f, 4);
}

extern "C" char* _a_prtnum(uint64_t* rec) {
    PRF_ENTER(_a_prtnum);
    if (rec == nullptr) return nullptr;
    const uint64_t size = _a_prdsize(rec);
    const uint64_t n = _9_len(rec);
    if (n == 0) {
        uint64_t* block = _2_alocs(3);
        if (block == nullptr) return nullptr;
        char* text = reinterpret_cast<char*>(block);
        text[0] = '0';
        text[1] = 0;
        _2_frees();
        return text;
    }
    uint64_t* copy = _a_numtoaloc(rec, n + 3);
    if (copy == nullptr) return nullptr;
    // The largest block that still fits is one word below _2_left (its
    // trailer takes the other).
    const int64_t left = _2_left() - 1;
    const uint64_t words = std::min<uint64_t>(kPrintLimit, left > 0 ? static_cast<uint64_t>(left) : 0);
    uint64_t* block = size <= words ? _2_alocs(words) : nullptr;
    if (block == nullptr) {
        _2_frees();  // the copy
        return nullptr;
    }
    char* text = _a_numtostr(reinterpret_cast<char*>(block), copy);
    _2_frees();
    _2_frees();
    return text;
}
