// Byte copies, shifts, insertions and blank trimming.
#include <cstring>

#include "q64/m0_utilities.h"

#include "platform/precondition.h"
#include "profiler/hook.h"

namespace {
constexpr char kBlank = ' ';

char byteOf(uint64_t b) { return static_cast<char>(b & 0xFF); }
}  // namespace

extern "C" uint64_t _0_strcpy(char* dst, const char* src, uint64_t n) {
    PRF_ENTER(_0_strcpy);
    for (uint64_t i = n; i > 0; --i) dst[i - 1] = src[i - 1];
    return n;
}

extern "C" char* _0_strsftr(char* area, uint64_t m, uint64_t k) {
    PRF_ENTER(_0_strsftr);
    for (uint64_t i = m; i > 0; --i) area[i - 1 + k] = area[i - 1];
    return area + k;
}

extern "C" char* _0_strsftl(char* area, uint64_t m, uint64_t k) {
    PRF_ENTER(_0_strsftl);
    char* to = area - k;
    for (uint64_t i = 0; i < m; ++i) to[i] = area[i];
    return to;
}

extern "C" uint64_t _0_strsftr1ch(char* area, uint64_t m, uint64_t b) {
    PRF_ENTER(_0_strsftr1ch);
    _0_strsftr(area, m, 1);
    area[0] = byteOf(b);
    return m + 1;
}

extern "C" int64_t _0_isrtch(char* text, uint64_t n, uint64_t p, uint64_t b) {
    PRF_ENTER(_0_isrtch);
    if (p > n) return -1;
    return static_cast<int64_t>(_0_strsftr1ch(text + p, n - p, b));
}

extern "C" int64_t _0_isrtchars(char* text, uint64_t n, uint64_t b, int64_t k) {
    PRF_ENTER(_0_isrtchars);
    if (k < 1) return -1;
    uint64_t count = static_cast<uint64_t>(k);
    _0_strsftr(text, n, count);
    for (uint64_t i = 0; i < count; ++i) text[i] = byteOf(b);
    return static_cast<int64_t>(n + count);
}

extern "C" uint64_t _0_cprstr(char* text, uint64_t t) {
    PRF_ENTER(_0_cprstr);
    const char end = byteOf(t);
    uint64_t from = 0;
    while (text[from] == kBlank) ++from;
    Q64_ASSERT(std::strchr(text + from, end) != nullptr);
    uint64_t count = 1;
    while (text[from + count - 1] != end) ++count;
    if (from > 0) _0_strsftl(text + from, count, from);
    return count;
}
