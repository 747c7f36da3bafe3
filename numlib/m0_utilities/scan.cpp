#include <cstring>

#include "q64/m0_utilities.h"

#include "platform/precondition.h"
#include "profiler/hook.h"

namespace {

unsigned byteOf(uint64_t b) { return static_cast<unsigned>(b & 0xFF); }
unsigned byteAt(const char* p) { return static_cast<unsigned char>(*p); }
bool isDigit(unsigned c) { return c >= '0' && c <= '9'; }

// The fold of the case-blind scans: bytes below "a" are raised by 32, so the
// capitals meet the small letters.
unsigned folded(unsigned c) { return c < 'a' ? c + 32 : c; }

}  // namespace

extern "C" uint64_t _0_scanmch(const char* text, uint64_t b) {
    PRF_ENTER(_0_scanmch);
    const unsigned wanted = byteOf(b);
    Q64_ASSERT(std::strchr(text, static_cast<char>(wanted)) != nullptr);
    uint64_t i = 0;
    while (byteAt(text + i) != wanted) ++i;
    return i;
}

extern "C" int64_t _0_chnum(const char* area, uint64_t n) {
    PRF_ENTER(_0_chnum);
    for (uint64_t i = 0; i < n; ++i) {
        if (!isDigit(byteAt(area + i))) return -1;
    }
    return 0;
}

extern "C" int64_t _0_scanchnum(const char* area, uint64_t n, uint64_t t) {
    PRF_ENTER(_0_scanchnum);
    const unsigned end = byteOf(t);
    for (uint64_t i = 0; i < n; ++i) {
        unsigned c = byteAt(area + i);
        if (c == end) return static_cast<int64_t>(i);
        if (!isDigit(c)) return -1;
    }
    return static_cast<int64_t>(n);
}

extern "C" uint64_t _0_scanatoz(const char* area, uint64_t n, uint64_t b) {
    PRF_ENTER(_0_scanatoz);
    const unsigned wanted = folded(byteOf(b));
    for (uint64_t i = 0; i < n; ++i) {
        if (folded(byteAt(area + i)) == wanted) return i;
    }
    return n;
}

extern "C" int64_t _0_scanratoz(const char* area, uint64_t n, uint64_t b) {
    PRF_ENTER(_0_scanratoz);
    const unsigned wanted = folded(byteOf(b));
    for (uint64_t i = n; i > 0; --i) {
        if (folded(byteAt(area + i - 1)) == wanted) return static_cast<int64_t>(i - 1);
    }
    return -1;
}

extern "C" uint64_t _0_cntchr(const char* text) {
    PRF_ENTER(_0_cntchr);
    if (text[0] == '\0') return 0;  // never read past the end of an empty text
    uint64_t n = 1;
    while (text[n] == text[0]) ++n;
    return n;
}
