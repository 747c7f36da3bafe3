// Pieces of the d-digit exponent form: the bit budget, the shortening of the
// mantissa by whole peta digits, the cutting or padding of the digits, and the
// printing into the scratch area.
#include <algorithm>

#include "numlib/ma_alloctext/text_work.h"
#include "profiler/hook.h"
#include "q64/m0_utilities.h"
#include "q64/m1_wordarrays.h"
#include "q64/m2_scratch.h"
#include "q64/m3_petapowers.h"
#include "q64/m9_numrec.h"
#include "q64/ma_alloctext.h"

namespace {
constexpr uint64_t kDigitsPerPeta = 16;
// Characters of "e", the sign and the digits of |X| < 2^68.
constexpr uint64_t kExponentChars = 2 + 21;

// Scratch words for the d-digit text, NUL included: before it is cut, the
// exponent form of the shortened M, which has fewer than 2^b <= 2 * 10^(16c)
// (c = ceil(d/16) + 1), so at most 16c + 1 digits; after it, d digits. Both
// with a sign, a point and the exponent part. Zero when d is so large that
// the text cannot fit the working stack anyway.
uint64_t textWords(uint64_t d) {
    if (d > (uint64_t{1} << 32)) return 0;
    const uint64_t c = d / kDigitsPerPeta + (d % kDigitsPerPeta != 0) + 1;
    const uint64_t shortened = 1 + (kDigitsPerPeta * c + 1) + 1 + kExponentChars + 1;
    const uint64_t cut = 1 + std::max<uint64_t>(d, 1) + 1 + kExponentChars + 1;
    return (std::max(shortened, cut) + 7) / 8;
}
}  // namespace

extern "C" uint64_t _a_pbtsize(uint64_t d) {
    PRF_ENTER(_a_pbtsize);
    return _3_petabitl(d / kDigitsPerPeta + (d % kDigitsPerPeta != 0) + 1);
}

extern "C" uint64_t _a_bit2num(const uint64_t* a, uint64_t n, uint64_t b) {
    PRF_ENTER(_a_bit2num);
    if (n == 0) return 0;
    const uint64_t w = b / 64;
    const uint64_t r = b % 64;
    if (r != 0) return (n - 1 > w || (n - 1 == w && a[0] >= (uint64_t{1} << r))) ? 1 : 0;
    return (n > w || (n == w && (a[0] >> 63) != 0)) ? 1 : 0;
}

// A division by 10^16 takes less than one word off, so at most the first word
// becomes zero.
extern "C" uint64_t _a_divpetan(uint64_t* a, uint64_t n, uint64_t b) {
    PRF_ENTER(_a_divpetan);
    textconv::Conversion& c = textconv::conversion;
    c.first = a;
    c.count = n;
    c.divisions = 0;
    c.bitBudget = b;
    do {
        _1_div1n(c.first, c.count, NUMREC_PETA);
        ++c.divisions;
        if (c.first[0] == 0) {
            ++c.first;
            --c.count;
        }
    } while (c.count != 0 && _a_bit2num(c.first, c.count, c.bitBudget) != 0);
    return c.divisions;
}

extern "C" char* _a_strnumn(char* buf, uint64_t len, uint64_t d) {
    PRF_ENTER(_a_strnumn);
    const uint64_t point = _0_scanmch(buf, '.');
    const uint64_t letter = static_cast<uint64_t>(_0_scanratoz(buf, len, 'e'));
    const uint64_t g = letter - point;  // the digits behind the point, plus one
    const uint64_t tail = len - letter;
    if (g > d) {
        _0_strsftl(buf + letter, tail, g - d);
    } else if (g < d) {
        _0_strsftr(buf + letter, tail, d - g);
        _0_chset(buf + letter, d - g, '0');
    }
    buf[len + d - g] = 0;
    return buf;
}

extern "C" char* _a_strzeron(char* buf, uint64_t d) {
    PRF_ENTER(_a_strzeron);
    buf[1] = '0';
    if (d <= 1) {
        buf[2] = 0;
        return buf;
    }
    buf[2] = '.';
    _0_chset(buf + 3, d - 1, '0');
    buf[d + 2] = 'e';
    buf[d + 3] = '0';
    buf[d + 4] = 0;
    return buf;
}

extern "C" char* _a_prtenum(uint64_t* rec, uint64_t d) {
    PRF_ENTER(_a_prtenum);
    if (rec == nullptr) return nullptr;
    const uint64_t n = _9_len(rec);
    if (n == 0) {
        uint64_t* block = _2_alocs(2);
        if (block == nullptr) return nullptr;
        char* text = reinterpret_cast<char*>(block);
        _0_strcpych(text, "0.0e0", 0);
        _2_frees();
        return text;
    }
    uint64_t* copy = _a_numtoaloc(rec, n + 3);
    if (copy == nullptr) return nullptr;
    const uint64_t words = textWords(d);
    uint64_t* block = words != 0 ? _2_alocs(words) : nullptr;
    if (block == nullptr) {
        _2_frees();  // the copy
        return nullptr;
    }
    char* text = _a_numtoestrn(reinterpret_cast<char*>(block), d, copy);
    _2_frees();
    _2_frees();
    return text;
}
