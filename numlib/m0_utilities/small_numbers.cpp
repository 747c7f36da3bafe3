#include "q64/m0_utilities.h"

#include "profiler/hook.h"

namespace {
constexpr uint64_t kAllOnes = ~uint64_t{0};
constexpr int64_t kInvalid = INT64_MIN;  // passed through by _0_range

bool isDigit(char c) { return c >= '0' && c <= '9'; }
}  // namespace

extern "C" Q2Value _0_numulnum(uint64_t a, uint64_t b) {
    PRF_ENTER(_0_numulnum);
    const uint64_t lo = a < b ? a : b, hi = a < b ? b : a;
    if (lo == 0) return {0, hi};  // the product stays 0 to the end
    uint64_t product = lo, j = lo;
    while (j < hi) {
        uint64_t next;
        if (__builtin_mul_overflow(product, j + 1, &next)) break;
        product = next;
        ++j;
    }
    return {product, j};
}

extern "C" Q2Value _0_pow64(uint64_t b, uint64_t e) {
    PRF_ENTER(_0_pow64);
    if (b == 0) return {0, 0};
    if (b == 1 || e == 0) return {1, 0};
    uint64_t power = b;
    for (uint64_t k = 1; k < e; ++k) {
        uint64_t next;
        if (__builtin_mul_overflow(power, b, &next)) return {power, k};
        power = next;
    }
    return {power, 0};
}

extern "C" uint64_t _0_n10n(uint64_t x, uint64_t k) {
    PRF_ENTER(_0_n10n);
    // 2^64 divides 10^64, so from k = 64 on the product is 0 mod 2^64.
    if (k >= 64) return 0;
    for (uint64_t i = 0; i < k; ++i) x *= 10;
    return x;
}

extern "C" int64_t _0_range(int64_t x, int64_t a, int64_t b) {
    PRF_ENTER(_0_range);
    if (x == kInvalid) return x;
    const int64_t low = a < b ? a : b, high = a < b ? b : a;
    if (x < low) return -1;
    return x > high ? 1 : 0;
}

extern "C" uint64_t _0_neg(uint64_t x) {
    PRF_ENTER(_0_neg);
    return 0 - x;
}

extern "C" int64_t _0_abs(int64_t x) {
    PRF_ENTER(_0_abs);
    if (x >= 0) return x;
    return static_cast<int64_t>(0 - static_cast<uint64_t>(x));
}

extern "C" uint64_t _0_max(uint64_t a, uint64_t b) {
    PRF_ENTER(_0_max);
    return a < b ? b : a;
}

extern "C" uint64_t _0_rup8(uint64_t x) {
    PRF_ENTER(_0_rup8);
    return (x + 7) & ~uint64_t{7};
}

extern "C" uint64_t _0_rup(uint64_t x, uint64_t m) {
    PRF_ENTER(_0_rup);
    if (m == 0) return kAllOnes;
    uint64_t r = x % m;
    return r == 0 ? x : x + (m - r);
}

extern "C" Q2Value _0_addq2(Q2Value v, uint64_t x) {
    PRF_ENTER(_0_addq2);
    uint64_t lo = v.lo + x;
    return {lo, v.hi + (lo < x)};
}

extern "C" Q2Value _0_subq2(Q2Value v, uint64_t x) {
    PRF_ENTER(_0_subq2);
    return {v.lo - x, v.hi - (v.lo < x)};
}

extern "C" Q2Value _0_sftlq2(Q2Value v, uint64_t s) {
    PRF_ENTER(_0_sftlq2);
    s &= 63;
    if (s == 0) return v;
    return {v.lo << s, (v.hi << s) | (v.lo >> (64 - s))};
}

extern "C" Q2Value _0_cvtqtoq2(int64_t x) {
    PRF_ENTER(_0_cvtqtoq2);
    return {static_cast<uint64_t>(x), x < 0 ? kAllOnes : 0};
}

extern "C" uint64_t _0_strltonum(const char* text, uint64_t n) {
    PRF_ENTER(_0_strltonum);
    if (n < 1 || n > 16) return kAllOnes;
    uint64_t value = 0;
    for (uint64_t i = 0; i < n; ++i) value = value * 10 + static_cast<uint64_t>(text[i] - '0');
    return value * pow10val(16 - n);
}

extern "C" uint64_t _0_strdgt64num(const char* text) {
    PRF_ENTER(_0_strdgt64num);
    if (*text == '0') text += _0_cntchr(text);
    uint64_t value = 0;
    for (uint64_t digits = 0; isDigit(text[digits]); ++digits) {
        if (digits == 20) return kAllOnes;
        const uint64_t d = static_cast<uint64_t>(text[digits] - '0');
        if (__builtin_mul_overflow(value, 10, &value) || __builtin_add_overflow(value, d, &value)) {
            return kAllOnes;
        }
    }
    return value;
}
