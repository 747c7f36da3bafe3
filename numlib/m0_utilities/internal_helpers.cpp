// Fill words, fixed-width decimal, digit template and fail.
#include "numlib/m0_utilities/internal_helpers.h"
#include "q64/m0_utilities.h"

#include "profiler/hook.h"

extern "C" uint64_t fillwords(uint64_t* a, uint64_t v, uint64_t n) {
    PRF_ENTER_UNNAMED();
    for (uint64_t i = 0; i < n; ++i) a[i] = v;
    return n;
}

extern "C" int64_t decfixed(char* buffer, uint64_t v, uint64_t w) {
    PRF_ENTER_UNNAMED();
    for (uint64_t i = w; i > 0; --i) {
        buffer[i - 1] = static_cast<char>('0' + v % 10);
        v /= 10;
    }
    // v now holds the digits that did not fit; w = 0 leaves no room for any.
    return (v != 0 || w == 0) ? 1 : 0;
}

extern "C" int64_t dectemplate(char* text, uint64_t b, uint64_t v, uint64_t w) {
    PRF_ENTER_UNNAMED();
    const char marker = static_cast<char>(b & 0xFF);
    if (marker == '\0' || w == 0) return -1;
    uint64_t length = 0, at = ~uint64_t{0};
    for (; text[length] != '\0'; ++length) {
        if (text[length] == marker && at == ~uint64_t{0}) at = length;
    }
    if (at == ~uint64_t{0}) return -1;
    // The bytes after the marker, NUL included, move up by w - 1, last first.
    for (uint64_t i = length + 1; i > at + 1; --i) text[i - 1 + w - 1] = text[i - 1];
    decfixed(text + at, v, w);
    return static_cast<int64_t>(length);
}

extern "C" int64_t failresult(void) {
    PRF_ENTER_UNNAMED();
    return -1;
}
