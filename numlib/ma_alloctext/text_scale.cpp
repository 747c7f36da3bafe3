// Scaling a record by a decimal exponent X: X div 16 whole peta digits go to
// the exponent, the rest X mod 16 becomes a factor of the mantissa.
#include "numlib/m9_numrec/numrec_view.h"
#include "profiler/hook.h"
#include "q64/m0_utilities.h"
#include "q64/m1_wordarrays.h"
#include "q64/m9_numrec.h"
#include "q64/ma_alloctext.h"

namespace {
using i128 = __int128;
using u128 = unsigned __int128;

// X >= 2^68 when the high word is 16 or more.
constexpr uint64_t kHighLimit = 16;
// 21 digits hold every X below 2^68 (2^68 has 21 digits); more significant
// digits mean X >= 10^21, whose value would also wrap 128 bits from 39 on.
constexpr uint64_t kExponentDigits = 21;

// Sets e to the 128-bit value, which the caller has checked to fit.
void setExp(uint64_t* rec, i128 e) {
    const i128 diff = e - _9_exp(rec);
    if (diff >= 0) {
        numrec::expAddCount(rec, static_cast<uint64_t>(diff));
    } else {
        numrec::expSubCount(rec, static_cast<uint64_t>(-diff));
    }
}

// M times 10^r (1 to 19), one word longer; a zero mantissa stays as it is.
void scaleMantissa(uint64_t* rec, uint64_t r) {
    const uint64_t lenv = _9_lenv(rec);
    if (lenv == 0) return;
    _9_len1st(rec, _1_mul10n(numrec::mantissa(rec), lenv, r));
}

// The mantissa must grow by a word and has none free.
bool noRoom(const uint64_t* rec, uint64_t r) {
    return r != 0 && _9_lenv(rec) != 0 && _9_lenlft(rec) == 0;
}
}  // namespace

extern "C" int64_t _a_mul10n(uint64_t* rec, uint64_t lo, uint64_t hi) {
    PRF_ENTER(_a_mul10n);
    if (hi >= kHighLimit) return -1;
    const uint64_t q = (hi << 60) | (lo >> 4);
    const uint64_t r = lo & 15;
    if (q > static_cast<uint64_t>(INT64_MAX)) return -1;
    if (noRoom(rec, r)) return -1;
    const i128 e = static_cast<i128>(_9_exp(rec)) + static_cast<i128>(q);
    if (e > INT64_MAX) return -1;
    setExp(rec, e);
    if (r != 0) scaleMantissa(rec, r);
    return 0;
}

// The exponent never becomes -2^63: that value marks an invalid number.
extern "C" int64_t _a_div10n(uint64_t* rec, uint64_t lo, uint64_t hi) {
    PRF_ENTER(_a_div10n);
    if (lo == 0 && hi == 0) return 0;
    if (hi >= kHighLimit) return -1;
    const u128 x = (static_cast<u128>(hi) << 64) | lo;
    const u128 c = (x + 15) / 16;
    const uint64_t r = lo & 15;
    if (noRoom(rec, r)) return -1;
    const i128 e = static_cast<i128>(_9_exp(rec)) - static_cast<i128>(c);
    if (e <= INT64_MIN) return -1;
    setExp(rec, e);
    if (r != 0) scaleMantissa(rec, 16 - r);
    return 0;
}

extern "C" int64_t _a_strdigtoexp(uint64_t* rec, const char* text, uint64_t len) {
    PRF_ENTER(_a_strdigtoexp);
    if (len <= 1) return 0;  // no exponent, or the letter alone
    const char* digits = text + 1;
    uint64_t count = len - 1;
    const Q2Value sign = _a_sign(digits, count);
    digits += sign.hi;
    count -= sign.hi;
    if (_0_chnum(digits, count) != 0) return -1;
    while (count != 0 && *digits == '0') {
        ++digits;
        --count;
    }
    Q2Value x{0, 0};
    if (count > kExponentDigits) {
        x.hi = kHighLimit;
    } else if (count != 0) {
        x = _0_strtobignum(digits, count);
    }
    return sign.lo != 0 ? _a_div10n(rec, x.lo, x.hi) : _a_mul10n(rec, x.lo, x.hi);
}
