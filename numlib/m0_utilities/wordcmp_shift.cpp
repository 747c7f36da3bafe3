// Largest alignment shift of a divisor under a dividend window: the shift
// that puts B's top bit under A's top bit, or one less when B shifted that
// far exceeds A.
#include "q64/m0_utilities.h"

#include "profiler/hook.h"

namespace {
inline int64_t topBit(uint64_t x) { return 63 - __builtin_clzll(x); }
}  // namespace

extern "C" int64_t _0_n1mxn2n1(const uint64_t* a, const uint64_t* b, uint64_t n, uint64_t t) {
    PRF_ENTER(_0_n1mxn2n1);
    int64_t s = topBit(a[0]) + 64 - static_cast<int64_t>(t);
    if (s > 64) return -1;
    if (s == 64) return _0_cmp(a, b, n) >= 0 ? -1 : 63;  // B * 2^64 <= A iff B <= a[0..n-1]
    return _0_cmp2n1(a, b, n, static_cast<uint64_t>(s)) >= 0 ? s : s - 1;
}

extern "C" int64_t _0_n1mxn2n(const uint64_t* a, const uint64_t* b, uint64_t n, uint64_t t) {
    PRF_ENTER(_0_n1mxn2n);
    int64_t s = topBit(a[0]) - static_cast<int64_t>(t);
    if (s < 0) return -1;
    if (s == 0) return _0_cmp(a, b, n) < 0 ? -1 : 0;
    return _0_cmp2n0(a, b, n, static_cast<uint64_t>(s)) >= 0 ? s : s - 1;
}
