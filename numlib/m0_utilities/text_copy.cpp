// Copying and filling bytes and words.
#include "q64/m0_utilities.h"

#include "profiler/hook.h"

extern "C" uint64_t _0_strcpych(char* dst, const char* src, uint64_t k) {
    PRF_ENTER(_0_strcpych);
    const char stop = static_cast<char>(k);
    uint64_t i = 0;
    // The NUL also ends the copy, so a text without k is never overrun.
    for (;;) {
        char c = src[i];
        dst[i++] = c;
        if (c == stop || c == '\0') return i;
    }
}

extern "C" uint64_t _0_chset(char* area, uint64_t n, uint64_t k) {
    PRF_ENTER(_0_chset);
    const char fill = static_cast<char>(k);
    for (uint64_t i = 0; i < n; ++i) area[i] = fill;
    return n;
}

extern "C" uint64_t _0_clear(uint64_t* words, uint64_t n) {
    PRF_ENTER(_0_clear);
    for (uint64_t i = 0; i < n; ++i) words[i] = 0;
    return n;
}
