// Magnitudes against powers of 10^16. Powers up to (10^16)^32 are read from
// the constant table; larger ones are built on the working stack, and only
// when the bit lengths leave the comparison open.
#include "numlib/m9_numrec/numrec_view.h"
#include "profiler/hook.h"
#include "q64/m0_utilities.h"
#include "q64/m2_scratch.h"
#include "q64/m3_petapowers.h"
#include "q64/m9_numrec.h"
#include "q64/mc_compare.h"

namespace {
constexpr int64_t kNoRoom = -9;
constexpr uint64_t kTableLimit = 32;

// The n words at p (p[0] != 0) against 10^(16k), whose w = _3_petaqwl(k) words
// are the q reduced words at power followed by w - q zero words.
int64_t againstPower(const uint64_t* p, uint64_t n, uint64_t k, const uint64_t* power) {
    const uint64_t w = _3_petaqwl(k);
    if (n != w) return n < w ? -1 : 1;
    const uint64_t q = _3_petaqw(k);
    const int64_t top = _0_cmp(p, power, q);
    if (top != 0) return top;
    return static_cast<uint64_t>(_0_cntzero(p + q, n - q)) == n - q ? 0 : 1;
}
}  // namespace

extern "C" int64_t _c_cmpetan(const uint64_t* p, uint64_t n, uint64_t k) {
    PRF_ENTER(_c_cmpetan);
    const uint64_t* power = k <= kTableLimit ? _3_peta(k) : _3_petaddr(k);
    if (power == nullptr) return kNoRoom;
    return againstPower(p, n, k, power);
}

extern "C" int64_t _c_cmpetabign(const uint64_t* p, uint64_t n, uint64_t k,
                                 const uint64_t* power) {
    PRF_ENTER(_c_cmpetabign);
    return againstPower(p, n, k, power);
}

extern "C" int64_t _c_cmpexp(uint64_t* x, int64_t e) {
    PRF_ENTER(_c_cmpexp);
    numrec::Significant s = numrec::significant(x);
    if (s.n == 0) return -1;
    const int64_t ex = _9_exp(x);
    if (e < ex) return 1;  // |x| >= 10^(16 ex) > 10^(16e)
    if (e == ex) return s.n == 1 && *s.p == 1 ? 0 : 1;
    const uint64_t k = static_cast<uint64_t>(e) - static_cast<uint64_t>(ex);
    // The bit lengths settle every k before any power is touched.
    const __int128 gap = static_cast<__int128>(_9_blen(x)) - _3_petabitl(k);
    if (gap > 1) return 1;
    if (gap < -1) return -1;
    if (k <= kTableLimit) return _c_cmpetan(s.p, s.n, k);
    uint64_t* block = _2_alocs(_3_petaqw(k) + 2);
    if (block == nullptr) return kNoRoom;
    _3_mkpeta(block, k);
    return _2_freertn(_c_cmpetabign(s.p, s.n, k, block));
}

extern "C" int64_t _c_cmpexp0(uint64_t* x) {
    PRF_ENTER(_c_cmpexp0);
    return _c_cmpexp(x, 0);
}
