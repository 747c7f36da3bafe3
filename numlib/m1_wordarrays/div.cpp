// Long division of word arrays in place: the quotient is built in front of
// the remainder in the dividend's own array. The divisor is never shifted in
// memory: its top 128 bits, aligned, are formed once per division, and the
// window's top bits are aligned on the fly for each quotient word
// (div_internal.h). Divisors of tuning::kDivDC words or more go by divide
// and conquer (div_dc.cpp) when the working stack has room for it.
//
// A quotient word and its remainder are fully determined by the window and
// the divisor, so they equal those of the trial quotient of _1_divtr with the
// bit-by-bit correction of _1_n1mxn2n and _1_sub122n, and every method gives
// the same quotient and remainder.
#include "q64/m0_utilities.h"
#include "numlib/m0_utilities/wide_divide.h"
#include "numlib/m1_wordarrays/div_internal.h"
#include "q64/m1_wordarrays.h"
#include "numlib/tuning.h"
#include "platform/precondition.h"
#include "profiler/hook.h"

namespace {
// Long divisors go by divide and conquer when the working stack has room.
__attribute__((noinline)) int64_t divideLong(uint64_t* a, uint64_t na, const uint64_t* b, uint64_t nb) {
    if (!m1::divDC(a, na, b, nb)) m1::divLoop(a, na, b, nb);
    return static_cast<int64_t>(na - nb);
}
}  // namespace

extern "C" int64_t _1_div(uint64_t* a, uint64_t na, const uint64_t* b, uint64_t nb) {
    PRF_ENTER(_1_div);
    Q64_ASSERT(platform::disjointWords(a, na, b, nb));
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
    Q64_ASSERT(platform::disjointWords(a, na, b, nb));
    if (na < nb) return 0;
    if (na == nb) return -9;
    if (_0_cmp(a, b, nb) >= 0) return -9;
    return _1_divmn(a, na, b, nb);
}

extern "C" int64_t _1_divmn(uint64_t* a, uint64_t na, const uint64_t* b, uint64_t nb) {
    PRF_ENTER(_1_divmn);
    Q64_ASSERT(platform::disjointWords(a, na, b, nb));
    if (nb >= tuning::kDivDC) return divideLong(a, na, b, nb);
    m1::divLoop(a, na, b, nb);
    return static_cast<int64_t>(na - nb);
}

extern "C" uint64_t _1_div12(uint64_t* w, const uint64_t* b, uint64_t nb, uint64_t s) {
    PRF_ENTER(_1_div12);
    Q64_ASSERT(platform::disjointWords(w, nb + 1, b, nb));
    if (nb == 1) return m1::quotientWord1(w, b[0]);
    return m1::quotientWord(w, m1::alignDivisor(b, nb, static_cast<unsigned>(s)));
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
