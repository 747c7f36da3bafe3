// Exponent alignment: whole peta digits move between mantissa and exponent.
#include "numlib/m9_numrec/numrec_view.h"
#include "profiler/hook.h"
#include "q64/m0_utilities.h"
#include "q64/m1_wordarrays.h"
#include "q64/m2_scratch.h"
#include "q64/m3_petapowers.h"
#include "q64/m9_numrec.h"
#include "q64/ma_alloctext.h"

extern "C" int64_t _a_mulpetac(uint64_t* mantissa, uint64_t lenv, uint64_t k, uint64_t capacity) {
    PRF_ENTER(_a_mulpetac);
    if (lenv == 0) return 0;
    for (uint64_t i = 0; i < k; ++i) {
        if (lenv >= capacity) return -1;
        lenv = _1_muln(mantissa, lenv, NUMREC_PETA);
        if (mantissa[0] == 0) lenv = static_cast<uint64_t>(_0_prs1mem(mantissa, lenv));
    }
    return static_cast<int64_t>(lenv);
}

extern "C" int64_t _a_adjnumsup(uint64_t* rec, uint64_t k) {
    PRF_ENTER(_a_adjnumsup);
    if (k == 0) return 0;
    uint64_t lenv = _9_cmprslen(rec);
    if (lenv == 0) return 0;
    if (static_cast<__int128>(_9_exp(rec)) - k < INT64_MIN) return -1;  // before any word changes
    int64_t grown = _a_mulpetac(numrec::mantissa(rec), lenv, k, _9_lenmxv(rec));
    if (grown < 0) return -1;
    _9_len1st(rec, static_cast<uint64_t>(grown));
    numrec::expSubCount(rec, k);
    return 0;
}

namespace {
// M div 10^(16k) for k >= 2 in one long division, with the same result as k
// divisions by 10^16 (a quotient of quotients is the quotient by the product):
// the k/4 zero words at the end of 10^(16k) are dropped from M instead, the
// rest is divided by the reduced power. The quotient replaces the run of
// significant words, right-aligned, with zero words in front, as the single
// divisions leave it. False, nothing changed, when the scratch stack has no
// room for the power and a copy of M.
bool divideByPower(uint64_t* rec, numrec::Significant s, uint64_t k) {
    const uint64_t zeroWords = k / 4;
    const uint64_t q = _3_petaqw(k);
    if (s.n <= zeroWords || s.n - zeroWords < q) {  // M < 10^(16k): the quotient is zero
        _9_len1st(rec, 0);
        return true;
    }
    const uint64_t m = s.n - zeroWords;
    const bool fromTable = k <= 32;
    uint64_t* block = _2_alocs((fromTable ? 0 : q + 1) + m + 1);
    if (block == nullptr) return false;
    const uint64_t* power = fromTable ? _3_peta(k) : block;
    if (!fromTable) _3_mkpeta(block, k);
    uint64_t* dividend = block + (fromTable ? 0 : q + 1);
    dividend[0] = 0;  // room for the quotient in front
    _0_cpymem(dividend + 1, s.p, m);
    int64_t quotientWords = _1_div(dividend, m + 1, power, q);
    if (quotientWords <= 0 || _0_cntzero(dividend, static_cast<uint64_t>(quotientWords)) == quotientWords) {
        _9_len1st(rec, 0);
    } else {
        uint64_t front = s.n - static_cast<uint64_t>(quotientWords);
        if (front != 0) _0_clear(s.p, front);
        _0_cpymem(s.p + front, dividend, static_cast<uint64_t>(quotientWords));
    }
    _2_frees();
    return true;
}
}  // namespace

// Each division by 10^16 removes less than one word, so at most the first
// significant word becomes zero; the walk then starts one word later.
extern "C" int64_t _a_adjnumsdown(uint64_t* rec, uint64_t k) {
    PRF_ENTER(_a_adjnumsdown);
    if (k == 0 || _9_lenv(rec) == 0) return 0;
    numrec::Significant s = numrec::significant(rec);
    if (s.n == 0) return 0;
    if (static_cast<__int128>(_9_exp(rec)) + k > INT64_MAX) return -1;  // before any word changes
    if (k < 2 || !divideByPower(rec, s, k)) {
        for (uint64_t i = 0; i < k; ++i) {
            _1_div1n(s.p, s.n, NUMREC_PETA);
            if (*s.p == 0) {
                ++s.p;
                if (--s.n == 0) {
                    _9_len1st(rec, 0);
                    break;
                }
            }
        }
    }
    numrec::expAddCount(rec, k);
    return 0;
}

extern "C" int64_t _a_adjnums(uint64_t* rec, int64_t e) {
    PRF_ENTER(_a_adjnums);
    int64_t exp = _9_exp(rec);
    // The distance in unsigned arithmetic is exact even across the whole range.
    if (e < exp) return _a_adjnumsup(rec, static_cast<uint64_t>(exp) - static_cast<uint64_t>(e));
    if (e > exp) return _a_adjnumsdown(rec, static_cast<uint64_t>(e) - static_cast<uint64_t>(exp));
    return 0;
}

extern "C" int64_t _a_adjnumszdown(uint64_t* rec, uint64_t s) {
    PRF_ENTER(_a_adjnumszdown);
    // Digits that are certainly needed go in one step: after d of them at
    // least b - _3_petabitl(d) bits remain of a b-bit mantissa.
    int64_t dropped = 0;
    uint64_t bits = _9_blen(rec);
    if (s < (uint64_t{1} << 57) && bits > 64 * s + 1) {
        uint64_t over = bits - 64 * s;
        uint64_t d = _3_bitpetal(over);
        while (d > 0 && _3_petabitl(d) >= over) --d;
        if (d > 0) {
            if (_a_adjnumsdown(rec, d) != 0) return -1;
            dropped = static_cast<int64_t>(d);
        }
    }
    while (_9_len(rec) > s) {
        if (_a_adjnumsdown(rec, 1) != 0) return -1;
        ++dropped;
    }
    return dropped;
}
