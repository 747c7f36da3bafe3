// Long division of word arrays in place: the quotient is built in front of
// the remainder in the dividend's own array. The divisor is never shifted in
// memory: its top 128 bits, aligned, are formed once per division, and the
// window's top bits are aligned on the fly for each quotient word.
//
// One quotient word (_1_div12) is found as in Knuth's algorithm D: an estimate
// from the top three words of the window and the top two words of the
// divisor, both aligned so that the divisor's top bit is bit 63, is at most
// one above the true quotient word and never below it; one multiply-subtract
// and at most one add-back give the exact quotient word and remainder. These
// are fully determined by the window and the divisor, so they equal those of
// the trial quotient of _1_divtr with the bit-by-bit correction of
// _1_n1mxn2n and _1_sub122n.
#include "numlib/m0/wordcmp.h"
#include "numlib/m0/wide_divide.h"
#include "numlib/m1/div_internal.h"
#include "numlib/m1/words.h"
#include "numlib/tuning.h"
#include "profiler/hook.h"

namespace {
using u128 = unsigned __int128;

// The top word of (hi, lo) shifted left by sh (0 to 63).
inline uint64_t joinLeft(uint64_t hi, uint64_t lo, unsigned sh) {
    return sh == 0 ? hi : (hi << sh) | (lo >> (64 - sh));
}

inline int64_t topBit(uint64_t x) { return 63 - __builtin_clzll(x); }

// W += B over nb + 1 words; returns the carry out of w[0].
inline uint64_t addBack(uint64_t* w, const uint64_t* b, uint64_t nb) {
    return m1::addWord(w, 1, m1::addN(w + 1, w + 1, b, nb));
}
}  // namespace

namespace m1 {

Divisor alignDivisor(const uint64_t* b, uint64_t nb, uint64_t s) {
    unsigned sh = 63 - static_cast<unsigned>(s);
    return {b, nb, sh, joinLeft(b[0], b[1], sh), joinLeft(b[1], nb > 2 ? b[2] : 0, sh)};
}

// One quotient word of the window w[0..nb] (w[0..nb-1] < B), nb >= 2.
uint64_t quotientWord(uint64_t* w, const Divisor& d) {
    const uint64_t nb = d.nb;
    // The aligned window still fits in nb + 1 words, since W < B * 2^64.
    uint64_t n2 = joinLeft(w[0], w[1], d.sh);
    uint64_t n1 = joinLeft(w[1], w[2], d.sh);
    uint64_t n0 = joinLeft(w[2], nb > 2 ? w[3] : 0, d.sh);
    uint64_t q, r;
    bool rBig;  // r >= 2^64: the test below cannot lower q
    if (n2 >= d.d1) {  // only n2 == d1 occurs: the estimate is clamped
        q = ~uint64_t{0};
        rBig = __builtin_add_overflow(n1, d.d1, &r);
    } else {
        q = wide::divide(n2, n1, d.d1, &r);
        rBig = false;
    }
    while (!rBig && static_cast<u128>(q) * d.d0 > ((static_cast<u128>(r) << 64) | n0)) {
        --q;
        rBig = __builtin_add_overflow(r, d.d1, &r);
    }
    if (q != 0 && m1::subMul(w, d.b, nb, q) != 0) {
        do --q;  // one add-back: the estimate is at most one too big
        while (addBack(w, d.b, nb) == 0);
    }
    w[0] = q;
    return q;
}

// One quotient word for a one-word divisor: (w[0], w[1]) / b0, w[0] < b0.
uint64_t quotientWord1(uint64_t* w, uint64_t b0) {
    uint64_t r;
    uint64_t q = wide::divide(w[0], w[1], b0, &r);
    w[0] = q;
    w[1] = r;
    return q;
}
}  // namespace m1

extern "C" int64_t _1_div(uint64_t* a, uint64_t na, const uint64_t* b, uint64_t nb) {
    PRF_ENTER(_1_div);
    uint64_t za = static_cast<uint64_t>(_0_cntzero(a, na));
    uint64_t zb = static_cast<uint64_t>(_0_cntzero(b, nb));
    if (zb == nb) return -1;
    const uint64_t* bs = b + zb;
    uint64_t nbs = nb - zb;
    if (za == 0) return _1_div1(a, na, bs, nbs);
    uint64_t nas = na - za;
    if (nas < nbs) return 0;
    bool topBelow = _0_cmp(a + za, bs, nbs) < 0;
    if (nas == nbs && topBelow) return 0;
    // A zero word in front of the significant words takes the first
    // quotient word when the leading nb' words are not below B'.
    if (topBelow) {
        _1_divmn(a + za, nas, bs, nbs);
    } else {
        _1_divmn(a + za - 1, nas + 1, bs, nbs);
    }
    return static_cast<int64_t>(na - nbs);
}

extern "C" int64_t _1_div1(uint64_t* a, uint64_t na, const uint64_t* b, uint64_t nb) {
    PRF_ENTER(_1_div1);
    if (na < nb) return 0;
    if (na == nb) return -9;
    if (_0_cmp(a, b, nb) >= 0) return -9;
    return _1_divmn(a, na, b, nb);
}

extern "C" int64_t _1_divmn(uint64_t* a, uint64_t na, const uint64_t* b, uint64_t nb) {
    PRF_ENTER(_1_divmn);
    uint64_t steps = na - nb;
    if (nb >= tuning::kDivDC && m1::divDC(a, na, b, nb)) return static_cast<int64_t>(steps);
    if (nb == 1) {
        for (uint64_t j = 0; j < steps; ++j) m1::quotientWord1(a + j, b[0]);
    } else {
        m1::Divisor d = m1::alignDivisor(b, nb, static_cast<uint64_t>(topBit(b[0])));
        for (uint64_t j = 0; j < steps; ++j) m1::quotientWord(a + j, d);
    }
    return static_cast<int64_t>(steps);
}

extern "C" uint64_t _1_div12(uint64_t* w, const uint64_t* b, uint64_t nb, uint64_t s) {
    PRF_ENTER(_1_div12);
    if (nb == 1) return m1::quotientWord1(w, b[0]);
    return m1::quotientWord(w, m1::alignDivisor(b, nb, s));
}

// The estimate divides by the divisor's top 64 bits plus one, so it never
// exceeds the true quotient word.
extern "C" uint64_t _1_divtr(const uint64_t* w, const uint64_t* b, uint64_t s) {
    PRF_ENTER(_1_divtr);
    uint64_t r;
    if (s == 63) {
        if (b[0] == ~uint64_t{0}) return w[0];
        return wide::divide(w[0], w[1], b[0] + 1, &r);
    }
    unsigned t = static_cast<unsigned>(s) + 1;  // 1 to 63
    uint64_t top = (b[0] << (64 - t)) | (b[1] >> t);
    if (top == ~uint64_t{0}) return 0;
    uint64_t hi = (w[0] << (64 - t)) | (w[1] >> t);
    uint64_t lo = (w[1] << (64 - t)) | (w[2] >> t);
    return wide::divide(hi, lo, top + 1, &r);
}
