// Scanning answer lines: control bytes, blanks, lengths and comparisons.
#include "q64/m0_utilities.h"

#include "profiler/hook.h"

namespace {
inline unsigned char byteAt(const char* p) { return static_cast<unsigned char>(*p); }
inline unsigned char lowByte(uint64_t k) { return static_cast<unsigned char>(k); }
}  // namespace

extern "C" uint64_t _0_schtozr(char* text, uint64_t k) {
    PRF_ENTER(_0_schtozr);
    uint64_t i = 0;
    while (byteAt(text + i) >= 32) ++i;
    text[i] = static_cast<char>(lowByte(k));
    return i;
}

extern "C" char* _0_nextch(const char* text) {
    PRF_ENTER(_0_nextch);
    while (*text == ' ' || *text == '\t') ++text;
    return const_cast<char*>(text);
}

extern "C" uint64_t _0_strlen(const char* text) {
    PRF_ENTER(_0_strlen);
    uint64_t n = 0;
    while (text[n] != '\0') ++n;
    return n;
}

extern "C" int64_t _0_strcmp(const char* a, const char* b) {
    PRF_ENTER(_0_strcmp);
    for (;; ++a, ++b) {
        if (*a != *b) return -1;
        if (*a == '\0') return 0;
    }
}

extern "C" uint64_t _0_strchar(const char* text, uint64_t k) {
    PRF_ENTER(_0_strchar);
    const unsigned char stop = lowByte(k);
    uint64_t i = 0;
    while (text[i] != '\0' && byteAt(text + i) != stop) ++i;
    return i;
}

extern "C" uint64_t _0_scanch(const char* area, uint64_t n, uint64_t k) {
    PRF_ENTER(_0_scanch);
    const unsigned char wanted = lowByte(k);
    for (uint64_t i = 0; i < n; ++i)
        if (byteAt(area + i) == wanted) return i;
    return n;
}
