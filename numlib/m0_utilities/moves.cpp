#include "q64/m0_utilities.h"

#include "profiler/hook.h"

namespace {
// Index of the first non-zero word, n when there is none.
uint64_t firstNonZero(const uint64_t* a, uint64_t n) {
    uint64_t i = 0;
    while (i < n && a[i] == 0) ++i;
    return i;
}
}  // namespace

extern "C" uint64_t _0_cpymem(uint64_t* dst, const uint64_t* src, uint64_t n) {
    PRF_ENTER(_0_cpymem);
    for (uint64_t i = n; i > 0; --i) dst[i - 1] = src[i - 1];
    return n;
}

extern "C" int64_t _0_cpynzmem(uint64_t* dst, const uint64_t* src, uint64_t n) {
    PRF_ENTER(_0_cpynzmem);
    if (n == 0) return -1;
    uint64_t first = firstNonZero(src, n);
    if (first == n) return 0;
    return static_cast<int64_t>(_0_cpymem(dst, src + first, n - first));
}

extern "C" uint64_t _0_sftlmem(uint64_t* a, uint64_t n, uint64_t k) {
    PRF_ENTER(_0_sftlmem);
    uint64_t* to = a - k;
    for (uint64_t i = 0; i < n; ++i) to[i] = a[i];
    return k;
}

extern "C" uint64_t _0_cprslmem(uint64_t* a, uint64_t n) {
    PRF_ENTER(_0_cprslmem);
    uint64_t first = firstNonZero(a, n);
    if (first == n) return 0;
    if (first > 0) _0_sftlmem(a + first, n - first, first);
    return n - first;
}

extern "C" uint64_t _0_cprsrmem(const uint64_t* a, uint64_t n) {
    PRF_ENTER(_0_cprsrmem);
    while (n > 0 && a[n - 1] == 0) --n;
    return n;
}

extern "C" uint64_t _0_cprsmmem(uint64_t* a, uint64_t n) {
    PRF_ENTER(_0_cprsmmem);
    return _0_cprslmem(a, _0_cprsrmem(a, n));
}

extern "C" int64_t _0_prs1mem(uint64_t* a, uint64_t n) {
    PRF_ENTER(_0_prs1mem);
    for (uint64_t i = 1; i < n; ++i) a[i - 1] = a[i];
    return static_cast<int64_t>(n) - 1;
}

extern "C" uint64_t _0_expd1mem(uint64_t* a, uint64_t n) {
    PRF_ENTER(_0_expd1mem);
    for (uint64_t i = n; i > 0; --i) a[i] = a[i - 1];
    a[0] = 0;
    return n + 1;
}

extern "C" uint64_t _0_expdnmem(uint64_t* a, uint64_t n, uint64_t k) {
    PRF_ENTER(_0_expdnmem);
    for (uint64_t i = n; i > 0; --i) a[i - 1 + k] = a[i - 1];
    for (uint64_t i = 0; i < k; ++i) a[i] = 0;
    return n + k;
}

extern "C" void _0_xchg(uint64_t* x, uint64_t* y) {
    PRF_ENTER(_0_xchg);
    uint64_t t = *x;
    *x = *y;
    *y = t;
}
