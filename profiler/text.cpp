// Small text routines of the profiler's reports (no entry hook).
#include "q64/profiler.h"

namespace {
char byteOf(uint64_t b) { return static_cast<char>(b & 0xFF); }
}  // namespace

extern "C" int64_t prfdec20(char* buffer, uint64_t v) {
    for (int i = 0; i < 20; ++i) buffer[i] = '0';
    int place = 19;
    while (v >= 10) {
        buffer[place--] = static_cast<char>('0' + v % 10);
        v /= 10;
    }
    buffer[place] = static_cast<char>('0' + v);
    buffer[20] = '\0';
    buffer[21] = buffer[22] = buffer[23] = '0';
    return 0;
}

extern "C" int64_t prfblanks(char* buffer, int64_t k) {
    if (k < 1) return -1;
    for (int64_t i = 0; i < k; ++i) buffer[i] = ' ';
    buffer[k] = '\0';
    return 0;
}

extern "C" int64_t prffield(char* dst, const char* src, uint64_t t, uint64_t w) {
    const char end = byteOf(t);
    uint64_t i = 0;
    for (; i < w; ++i) {
        if (src[i] == end) {
            for (; i < w; ++i) dst[i] = ' ';
            return 0;
        }
        dst[i] = src[i];
    }
    return src[w] == end ? 0 : 1;
}

extern "C" int64_t prffail(void) { return -1; }

extern "C" const char* prfscanf(const char* start, uint64_t b, const char* end) {
    const char wanted = byteOf(b);
    for (const char* p = start; p < end; ++p) {
        if (*p == wanted) return p;
    }
    return nullptr;
}

extern "C" const char* prfscanb(const char* lower, uint64_t b, const char* position) {
    return prfscanb2(lower, b, b, position);
}

extern "C" const char* prfscanb2(const char* lower, uint64_t b1, uint64_t b2,
                                 const char* position) {
    const char first = byteOf(b1), second = byteOf(b2);
    // Compared as addresses so that the walk never steps below `lower`.
    for (const char* p = position; p >= lower; --p) {
        if (*p == first || *p == second) return p;
        if (p == lower) break;
    }
    return nullptr;
}
