// Decimal digit tokens to unsigned 64- and 128-bit values.
#include "q64/m0_utilities.h"

#include "profiler/hook.h"

namespace {
inline bool isDigit(char c) { return c >= '0' && c <= '9'; }

// 2^128 - 1: a 39-digit token is too large exactly when it sorts above this.
constexpr char kMaxQ2Digits[] = "340282366920938463463374607431768211455";
constexpr uint64_t kMaxQ2DigitCount = sizeof kMaxQ2Digits - 1;

bool exceedsQ2(const char* digits, uint64_t n) {
    while (n > 1 && *digits == '0') {
        ++digits;
        --n;
    }
    if (n != kMaxQ2DigitCount) return n > kMaxQ2DigitCount;
    for (uint64_t i = 0; i < n; ++i)
        if (digits[i] != kMaxQ2Digits[i]) return digits[i] > kMaxQ2Digits[i];
    return false;
}
}  // namespace

extern "C" uint64_t _0_dgtlen(const char* text) {
    PRF_ENTER(_0_dgtlen);
    uint64_t n = 0;
    while (isDigit(text[n])) ++n;
    return n;
}

extern "C" uint64_t _0_strtonum(const char* text, uint64_t n) {
    PRF_ENTER(_0_strtonum);
    uint64_t v = 0;
    for (uint64_t i = 0; i < n; ++i) v = v * 10 + static_cast<uint64_t>(text[i] - '0');
    return v;
}

extern "C" Q2Value _0_strtobignum(const char* text, uint64_t n) {
    PRF_ENTER(_0_strtobignum);
    // 18 digits always fit in one word; further digits carry into the high word.
    constexpr uint64_t kOneWordDigits = 18;
    if (n <= kOneWordDigits) return Q2Value{_0_strtonum(text, n), 0};
    unsigned __int128 v = _0_strtonum(text, kOneWordDigits);
    for (uint64_t i = kOneWordDigits; i < n; ++i)
        v = v * 10 + static_cast<unsigned>(text[i] - '0');
    return Q2Value{static_cast<uint64_t>(v), static_cast<uint64_t>(v >> 64)};
}

extern "C" Q2Value* _0_strtobigar(Q2Value* dst, const char* text, uint64_t n) {
    PRF_ENTER(_0_strtobigar);
    uint64_t count = _0_dgtlen(text);
    if (n == 0) n = count;
    if (n == 0 || count < n) return nullptr;
    if (exceedsQ2(text, n)) return nullptr;
    *dst = _0_strtobignum(text, n);
    return dst;
}
