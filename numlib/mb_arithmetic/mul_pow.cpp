// Scaling by powers of 10^16, of ten and of two. Powers of 10^16 live in the
// exponent; powers of ten below 10^16 cost one one-word product; powers of
// two a bit shift and appended zero words.
#include <cstring>

#include "numlib/m9_numrec/numrec_view.h"
#include "profiler/hook.h"
#include "q64/m0_utilities.h"
#include "q64/m2_scratch.h"
#include "q64/m3_petapowers.h"
#include "q64/m9_numrec.h"
#include "q64/ma_alloctext.h"
#include "q64/mb_arithmetic.h"

namespace {
// Longer than any record can be: a count that large cannot be served.
constexpr uint64_t kBeyondAnyRecord = uint64_t{1} << 40;
}  // namespace

extern "C" int64_t _b_mul16n(uint64_t* x, uint64_t k) {
    PRF_ENTER(_b_mul16n);
    return numrec::expAddCount(x, k) ? 0 : -1;
}

// The exponent step comes first; when the mantissa step fails it is taken
// back, so that a failure leaves x as it was.
extern "C" int64_t _b_mul10n(uint64_t* x, uint64_t k) {
    PRF_ENTER(_b_mul10n);
    uint64_t q = k / 16;
    if (q != 0 && _b_mul16n(x, q) != 0) return -1;
    uint64_t r = k % 16;
    if (r == 0) return 0;
    uint64_t m = pow10tab[r];
    Q2Value left = _9_lenmlft(x);
    if (left.lo != 0) return _b_mulnum(x, m);
    if (left.hi == 0) return 0;  // a zero without mantissa words stays as it is
    int64_t result = -1;
    uint64_t* t = _a_numtomulaloc(x, m);
    if (t != nullptr) result = _2_freertn(_a_numovnum(x, t));
    if (result != 0 && q != 0) numrec::expSubCount(x, q);
    return result;
}

extern "C" void _b_mulpetan(uint64_t* x, uint64_t n, uint64_t* p, uint64_t w) {
    PRF_ENTER(_b_mulpetan);
    uint64_t* m = numrec::mantissa(x);
    if (_9_lenlft(x) < w) {
        if (n != 0 && p != m) std::memmove(m, p, n * sizeof(uint64_t));
        _9_len1st(x, n);
    }
    uint64_t lenv = _9_lennad(x, w);
    _0_clear(m + lenv - w, w);
}

extern "C" int64_t _b_mul2nc(uint64_t* x, uint64_t k) {
    PRF_ENTER(_b_mul2nc);
    uint64_t lenv = _9_lenv(x);
    if (lenv == 0) return 0;
    uint64_t* m = numrec::mantissa(x);
    uint64_t b = k % 64;
    if (b != 0) _9_lennad(x, static_cast<uint64_t>(_0_bitshtlex(m, lenv, b)));
    uint64_t w = k / 64;
    if (w != 0) {
        if (_9_lenlft(x) < w) _9_cmprslen(x);
        lenv = _9_lennad(x, w);
        _0_clear(m + lenv - w, w);
    }
    return 0;
}

extern "C" int64_t _b_mul2n(uint64_t* x, uint64_t k) {
    PRF_ENTER(_b_mul2n);
    numrec::Significant s = numrec::significant(x);
    if (s.n == 0) return 0;
    if (k > _9_bitleft(x)) return -1;
    uint64_t w = k / 64;
    if (w != 0) {
        _b_mulpetan(x, s.n, s.p, w);
        s = numrec::significant(x);
    }
    uint64_t b = k % 64;
    if (b == 0) return 0;
    uint64_t* m = numrec::mantissa(x);
    if (m[0] == 0) {
        // The zero word in front of the significant words takes the bits
        // that leave the first of them.
        _0_bitshtl(s.p - 1, s.n + 1, b);
        return 0;
    }
    _9_lennad(x, static_cast<uint64_t>(_0_bitshtlex(m, _9_lenv(x), b)));
    return 0;
}

extern "C" int64_t _b_mul2nsz(uint64_t* x, uint64_t k) {
    PRF_ENTER(_b_mul2nsz);
    uint64_t bits = _9_blen(x);
    if (bits == 0) return 0;
    uint64_t capacityBits = 64 * _9_lenmxv(x);
    if (k <= capacityBits - bits) return _b_mul2nc(x, k);
    if (k > kBeyondAnyRecord) return -1;
    uint64_t extra = (bits + k - capacityBits) / 64 + 1;
    uint64_t* t = _a_numtoaloc(x, _9_lenl(x) + extra);
    if (t == nullptr) return -1;
    _b_mul2nc(t, k);
    if (_a_adjnumszdown(t, _9_lenmxv(x)) < 0) return _2_freertn(-1);
    _a_numovnum(x, t);
    return _2_freertn(0);
}

extern "C" uint64_t* _b_mul2npa(uint64_t* x, uint64_t k, int64_t e) {
    PRF_ENTER(_b_mul2npa);
    _b_mul2nc(x, k);
    _a_adjnums(x, e);
    return x;
}

extern "C" int64_t _b_mul2np(uint64_t* x, uint64_t k, int64_t e) {
    PRF_ENTER(_b_mul2np);
    uint64_t n = _9_len(x);
    if (n == 0) return 0;
    uint64_t need = n + k / 64 + (k % 64 != 0);
    __int128 d = static_cast<__int128>(_9_exp(x)) - e;  // digits to scale up by
    if (d > 0) need += d > static_cast<__int128>(kBeyondAnyRecord) ? kBeyondAnyRecord
                                                                  : _3_petaqwl(static_cast<uint64_t>(d));
    if (_9_lenmxv(x) > need) {
        _b_mul2npa(x, k, e);
        return _9_exp(x) == e ? 0 : -1;
    }
    if (need > kBeyondAnyRecord) return -1;
    uint64_t* t = _a_numtoaloc(x, need + 3);
    if (t == nullptr) return -1;
    _b_mul2npa(t, k, e);
    if (_9_exp(t) != e) return _2_freertn(-1);
    return _2_freertn(_a_numovnum(x, t));
}
