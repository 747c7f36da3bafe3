// Leading-zero count and comparisons of word arrays, plain and against a
// shifted operand. The shifted words are formed on the fly, most significant
// first, so a comparison stops at the first word that differs.
#include "q64/m0_utilities.h"

#include "profiler/hook.h"

namespace {
inline int64_t order(uint64_t x, uint64_t y) { return x < y ? -1 : 1; }
}  // namespace

extern "C" int64_t _0_cntzero(const uint64_t* a, uint64_t n) {
    PRF_ENTER(_0_cntzero);
    uint64_t i = 0;
    while (i < n && a[i] == 0) ++i;
    return static_cast<int64_t>(i);
}

extern "C" int64_t _0_cmp(const uint64_t* a, const uint64_t* b, uint64_t n) {
    PRF_ENTER(_0_cmp);
    for (uint64_t i = 0; i < n; ++i) {
        if (a[i] != b[i]) return order(a[i], b[i]);
    }
    return 0;
}

// Word i of B * 2^s in n + 1 words is (b[i-1] << s) | (b[i] >> (64 - s)),
// with b[-1] and b[n] taken as zero.
extern "C" int64_t _0_cmp2n1(const uint64_t* a, const uint64_t* b, uint64_t n, uint64_t s) {
    PRF_ENTER(_0_cmp2n1);
    const unsigned up = static_cast<unsigned>(s), down = 64 - up;
    uint64_t x = b[0] >> down;
    if (a[0] != x) return order(a[0], x);
    for (uint64_t i = 1; i < n; ++i) {
        x = (b[i - 1] << up) | (b[i] >> down);
        if (a[i] != x) return order(a[i], x);
    }
    x = b[n - 1] << up;
    if (a[n] != x) return order(a[n], x);
    return 0;
}

extern "C" int64_t _0_cmp2n0(const uint64_t* a, const uint64_t* b, uint64_t n, uint64_t s) {
    PRF_ENTER(_0_cmp2n0);
    const unsigned up = static_cast<unsigned>(s), down = 64 - up;
    if ((b[0] >> down) != 0) return -1;  // B * 2^s needs a word in front of A
    for (uint64_t i = 0; i + 1 < n; ++i) {
        uint64_t x = (b[i] << up) | (b[i + 1] >> down);
        if (a[i] != x) return order(a[i], x);
    }
    uint64_t x = b[n - 1] << up;
    if (a[n - 1] != x) return order(a[n - 1], x);
    return 0;
}
