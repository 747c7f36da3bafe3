#include "q64/m0_utilities.h"

#include "profiler/hook.h"

namespace {

// Word shifts that are valid for s = 0 as well (a shift by 64 is undefined).
inline uint64_t highBitsOf(uint64_t w, uint64_t s) { return s == 0 ? 0 : w >> (64 - s); }
inline uint64_t lowBitsOf(uint64_t w, uint64_t s) { return s == 0 ? 0 : w << (64 - s); }

}  // namespace

extern "C" int64_t _0_bitshtl(uint64_t* a, uint64_t n, uint64_t s) {
    PRF_ENTER(_0_bitshtl);
    if (n == 0 || s > 63) return -1;
    int64_t lost = highBitsOf(a[0], s) != 0;
    for (uint64_t i = 0; i + 1 < n; ++i) a[i] = (a[i] << s) | highBitsOf(a[i + 1], s);
    a[n - 1] <<= s;
    return lost;
}

extern "C" int64_t _0_bitshtr(uint64_t* a, uint64_t n, uint64_t s) {
    PRF_ENTER(_0_bitshtr);
    if (n == 0 || s > 63) return -1;
    int64_t lost = lowBitsOf(a[n - 1], s) != 0;
    for (uint64_t i = n - 1; i > 0; --i) a[i] = (a[i] >> s) | lowBitsOf(a[i - 1], s);
    a[0] >>= s;
    return lost;
}

extern "C" int64_t _0_bitshtlex(uint64_t* a, uint64_t n, uint64_t s) {
    PRF_ENTER(_0_bitshtlex);
    if (n == 0 || s > 63) return -1;
    if (highBitsOf(a[0], s) == 0) {
        _0_bitshtl(a, n, s);
        return 0;
    }
    // With a zero word appended the n + 1 words hold A * 2^64; a right shift
    // by 64 - s leaves A * 2^s and loses only the appended zeros.
    a[n] = 0;
    _0_bitshtrex(a, n + 1, 64 - s);
    return 1;
}

extern "C" int64_t _0_bitshtrex(uint64_t* a, uint64_t n, uint64_t s) {
    PRF_ENTER(_0_bitshtrex);
    if (n == 0 || s > 63) return -1;
    uint64_t leaving = lowBitsOf(a[n - 1], s);
    _0_bitshtr(a, n, s);
    if (leaving == 0) return 0;
    a[n] = leaving;
    return 1;
}

extern "C" uint64_t _0_bitlen(const uint64_t* a, uint64_t n) {
    PRF_ENTER(_0_bitlen);
    for (uint64_t i = 0; i < n; ++i) {
        if (a[i] != 0) return 64 * (n - 1 - i) + 64 - static_cast<uint64_t>(__builtin_clzll(a[i]));
    }
    return 0;
}

extern "C" int64_t _0_cmpeta(const uint64_t* a, uint64_t n) {
    PRF_ENTER(_0_cmpeta);
    uint64_t i = 0;
    while (i < n && a[i] == 0) ++i;
    if (i == n) return -1;
    if (n - i > 1) return 1;
    return a[i] < NUMREC_PETA ? -1 : (a[i] == NUMREC_PETA ? 0 : 1);
}
