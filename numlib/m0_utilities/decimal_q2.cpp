// Decimal text of a Q2Value, cut into pieces of 16 digits by divisions by 10^16.
#include "numlib/m0_utilities/wide_divide.h"
#include "profiler/hook.h"
#include "q64/m0_utilities.h"

namespace {

constexpr uint64_t kPiece = NUMREC_PETA;  // texts are cut into pieces of 16 digits
constexpr uint64_t kPieceDigits = 16;
// 10^32 as (high, low).
constexpr uint64_t kE32Hi = 0x4EE2D6D415Bull;
constexpr uint64_t kE32Lo = 0x85ACEF8100000000ull;
static_assert(((static_cast<unsigned __int128>(kE32Hi) << 64) | kE32Lo) ==
              static_cast<unsigned __int128>(kPiece) * kPiece);

// (hi:lo) / d with hi < d, so the quotient fits one word: one hardware division.
using wide::divide;

inline bool belowE32(uint64_t lo, uint64_t hi) {
    return hi < kE32Hi || (hi == kE32Hi && lo < kE32Lo);
}

// A value of 10^32 or more as t * 10^32 + r1 * 10^16 + r0; t is at most 3402823.
struct ThreePieces {
    uint64_t t, r1, r0;
};
ThreePieces splitAboveE32(uint64_t lo, uint64_t hi) {
    uint64_t rh, r0, r1;
    uint64_t qh = divide(0, hi, kPiece, &rh);
    uint64_t ql = divide(rh, lo, kPiece, &r0);
    uint64_t t = divide(qh, ql, kPiece, &r1);  // qh < 1845 < 10^16
    return ThreePieces{t, r1, r0};
}

}  // namespace

extern "C" uint64_t _0_numq2tostr(char* buf, uint64_t lo, uint64_t hi) {
    PRF_ENTER(_0_numq2tostr);
    if (hi == 0) return _0_numtostr(buf, lo);
    if (belowE32(lo, hi)) {
        uint64_t r;
        uint64_t q = divide(hi, lo, kPiece, &r);
        uint64_t n = _0_numtostr(buf, q);
        return n + _0_numtostr16(buf + n, r);
    }
    ThreePieces p = splitAboveE32(lo, hi);
    uint64_t n = _0_numtostr(buf, p.t);
    n += _0_numtostr16(buf + n, p.r1);
    return n + _0_numtostr16(buf + n, p.r0);
}

extern "C" uint64_t _0_numq2decsz(uint64_t lo, uint64_t hi) {
    PRF_ENTER(_0_numq2decsz);
    if (hi == 0) return _0_numqdecsz(lo);
    if (hi == kE32Hi && lo == kE32Lo) return 2 * kPieceDigits + 1;
    if (!belowE32(lo, hi)) return 2 * kPieceDigits + _0_numqdecsz(splitAboveE32(lo, hi).t);
    uint64_t r;
    return kPieceDigits + _0_numqdecsz(divide(hi, lo, kPiece, &r));
}

extern "C" int64_t _0_numq2tostrn(char* buf, uint64_t w, uint64_t lo, uint64_t hi) {
    PRF_ENTER(_0_numq2tostrn);
    uint64_t d = _0_numq2decsz(lo, hi);
    if (d > w) {
        if (w != 0) return -1;
        w = d;
    }
    uint64_t n = _0_numq2tostr(buf, lo, hi);  // 1 for the value 0, although d is 0
    if (n < w) {
        _0_strshr(buf, n, w - n);
        _0_chset(buf, w - n, ' ');
    } else {
        w = n;
    }
    buf[w] = '\0';
    return 0;
}
