// Magnitudes of records of any exponents: the rough comparison by bit lengths,
// and the exact one through a copy aligned to the smaller exponent.
#include "profiler/hook.h"
#include "q64/m2_scratch.h"
#include "q64/m3_petapowers.h"
#include "q64/m9_numrec.h"
#include "q64/ma_alloctext.h"
#include "q64/mc_compare.h"

namespace {
constexpr uint64_t kLess = ~uint64_t{0};  // -1 as the first word of a Q2Value
constexpr int64_t kNoRoom = -9;

inline uint64_t negated(uint64_t decision) { return 0 - decision; }

// d = ea - eb as a sign and a magnitude, exact over the whole exponent range.
struct Distance {
    int sign;
    uint64_t d;
};
Distance distance(const uint64_t* a, const uint64_t* b) {
    const int64_t ea = _9_exp(a);
    const int64_t eb = _9_exp(b);
    if (ea == eb) return {0, 0};
    if (ea > eb) return {1, static_cast<uint64_t>(ea) - static_cast<uint64_t>(eb)};
    return {-1, static_cast<uint64_t>(eb) - static_cast<uint64_t>(ea)};
}
}  // namespace

// The bit length of Mb * 10^(16d) is bitlen(b) + t or one less, t the bit
// length of 10^(16d); the decision is left open within two bits.
extern "C" Q2Value _c_cmpmrgh(uint64_t* a, uint64_t* b, uint64_t d) {
    PRF_ENTER(_c_cmpmrgh);
    const uint64_t bitsA = _9_blen(a);
    const uint64_t bitsB = _9_blen(b);
    if (bitsA == 0) return bitsB == 0 ? Q2Value{0, 1} : Q2Value{kLess, 0};
    if (bitsB == 0) return Q2Value{1, 0};
    const __int128 s = static_cast<__int128>(bitsA) - bitsB - _3_petabitl(d);
    if (s > 2) return Q2Value{1, 0};
    if (s < -2) return Q2Value{kLess, 0};
    return Q2Value{0, 1};
}

extern "C" Q2Value _c_cmprgh(uint64_t* a, uint64_t* b) {
    PRF_ENTER(_c_cmprgh);
    const Distance delta = distance(a, b);
    if (delta.sign < 0) return _c_cmpmrgh(a, b, delta.d);
    if (delta.sign > 0) {
        Q2Value r = _c_cmpmrgh(b, a, delta.d);
        return Q2Value{negated(r.lo), r.hi};
    }
    return Q2Value{static_cast<uint64_t>(_c_cmpnum(a, b)), 0};
}

extern "C" int64_t _c_cmpabsalc(uint64_t* x, uint64_t* y, uint64_t d) {
    PRF_ENTER(_c_cmpabsalc);
    const uint64_t size = _3_petaqwl(d) + _9_len(y) + 4;
    if (size > NUMREC_LENL_MAX) return kNoRoom;
    uint64_t* copy = _2_alocs(size);
    if (copy == nullptr) return kNoRoom;
    _a_numtonum(copy, y, size);
    if (_a_adjnumsup(copy, d) != 0) return _2_freertn(kNoRoom);
    return _2_freertn(_c_cmpnum(x, copy));
}

extern "C" int64_t _c_cmpabs(uint64_t* a, uint64_t* b) {
    PRF_ENTER(_c_cmpabs);
    const Q2Value rough = _c_cmprgh(a, b);
    if (rough.hi == 0) return static_cast<int64_t>(rough.lo);
    const Distance delta = distance(a, b);
    if (delta.sign < 0) return _c_cmpabsalc(a, b, delta.d);
    const int64_t r = _c_cmpabsalc(b, a, delta.d);
    return r == kNoRoom ? r : -r;
}
