// The plain methods the library used before its fast ones, kept as the
// reference the fast methods must match word for word: the schoolbook
// product in place, the long division one quotient word at a time, and the
// decimal conversions one peta digit (sixteen digits) at a time. Word arrays
// are most significant word first.
#pragma once

#include <cstdint>

#include "q64/m0_utilities.h"
#include "numlib/m0_utilities/wide_divide.h"
#include "q64/m1_wordarrays.h"
#include "q64/m4_petadigits.h"
#include "q64/m9_numrec.h"

namespace reference {

using u128 = unsigned __int128;

// r[0..nr+na-1] = R * A, R in r[0..nr-1] on entry.
inline void mul(uint64_t* r, uint64_t nr, const uint64_t* a, uint64_t na) {
    uint64_t i = nr;
    while (i-- > 0) {
        const uint64_t w = r[i];
        r[i] = 0;
        uint64_t carry = 0;
        for (uint64_t j = na; j-- > 0;) {
            const u128 p = static_cast<u128>(a[j]) * w + (i + 1 == nr ? 0 : r[i + 1 + j]) + carry;
            r[i + 1 + j] = static_cast<uint64_t>(p);
            carry = static_cast<uint64_t>(p >> 64);
        }
        r[i] += carry;
    }
}

// One quotient word of w[0..nb] (w[0..nb-1] < B): estimate from the top
// words, multiply-subtract, add back; as the long division has always done.
inline void quotientWord(uint64_t* w, const uint64_t* b, uint64_t nb) {
    const unsigned sh = static_cast<unsigned>(__builtin_clzll(b[0]));
    auto join = [sh](uint64_t hi, uint64_t lo) { return sh == 0 ? hi : (hi << sh) | (lo >> (64 - sh)); };
    if (nb == 1) {
        uint64_t r;
        w[0] = wide::divide(w[0], w[1], b[0], &r);
        w[1] = r;
        return;
    }
    const uint64_t d1 = join(b[0], b[1]), d0 = join(b[1], nb > 2 ? b[2] : 0);
    const uint64_t n2 = join(w[0], w[1]), n1 = join(w[1], w[2]), n0 = join(w[2], nb > 2 ? w[3] : 0);
    uint64_t q, r;
    bool rBig;
    if (n2 >= d1) {
        q = ~uint64_t{0};
        rBig = __builtin_add_overflow(n1, d1, &r);
    } else {
        q = wide::divide(n2, n1, d1, &r);
        rBig = false;
    }
    while (!rBig && static_cast<u128>(q) * d0 > ((static_cast<u128>(r) << 64) | n0)) {
        --q;
        rBig = __builtin_add_overflow(r, d1, &r);
    }
    uint64_t carry = 0;
    for (uint64_t i = nb; i-- > 0;) {
        const u128 p = static_cast<u128>(q) * b[i] + carry;
        const uint64_t lo = static_cast<uint64_t>(p), x = w[i + 1];
        carry = static_cast<uint64_t>(p >> 64) + (x < lo);
        w[i + 1] = x - lo;
    }
    const bool negative = w[0] < carry;
    w[0] -= carry;
    bool back = !negative;  // add B back until the window carries out of w[0]
    while (!back) {
        --q;
        uint64_t c = 0;
        for (uint64_t i = nb; i-- > 0;) {
            const u128 s = static_cast<u128>(w[i + 1]) + b[i] + c;
            w[i + 1] = static_cast<uint64_t>(s);
            c = static_cast<uint64_t>(s >> 64);
        }
        const uint64_t x = w[0];
        w[0] = x + c;
        back = w[0] < x;
    }
    w[0] = q;
}

// _1_divmn: na > nb, b[0] != 0, a[0..nb-1] < B.
inline void divmn(uint64_t* a, uint64_t na, const uint64_t* b, uint64_t nb) {
    for (uint64_t j = 0; j + nb < na; ++j) quotientWord(a + j, b, nb);
}

// _4_numtostr and _4_numtozstr: one division by 10^16 per group, the groups
// reversed and the head rotated in front.
inline uint64_t numtostr(char* out, uint64_t* a, uint64_t n, bool wholeGroups) {
    if (n == 0) return wholeGroups ? _0_numtostr16(out, 0) : _0_numtostr(out, 0);
    if (!wholeGroups && n == 1 && a[0] < NUMREC_PETA) return _0_numtostr(out, a[0]);
    char* cursor = out;
    do {
        cursor += _0_numtostr16(cursor, _1_div1n(a, n, NUMREC_PETA));
        n = _0_cprslmem(a, n);
    } while (wholeGroups ? n != 0 : _4_cmpeta(a, n) >= 0);
    const uint64_t groups = static_cast<uint64_t>(cursor - out) / 16;
    uint64_t head = 0;
    if (!wholeGroups && n != 0 && a[0] != 0) head = _0_numtostr(cursor, a[0]);
    _0_xchgar(out, 16 * groups, 16);
    if (head != 0) _0_rolr(out, 16 * groups + head, head);
    return 16 * groups + head;
}

// _4_strntonumr (fromLeft false) and _4_strlntonumr (true): one _4_mpetadd
// per peta digit.
inline uint64_t readDigits(uint64_t* a, uint64_t lenv, const char* digits, uint64_t count, bool fromLeft) {
    const uint64_t head = fromLeft ? 0 : count % 16, whole = fromLeft ? count - count % 16 : count;
    if (head != 0) lenv = _4_mpetadd(a, lenv, _0_strtonum(digits, head));
    for (uint64_t i = head; i < whole; i += 16) lenv = _4_mpetadd(a, lenv, _0_strtonum(digits + i, 16));
    if (whole != count) lenv = _4_mpetadd(a, lenv, _0_strltonum(digits + whole, count - whole));
    return lenv;
}

}  // namespace reference
