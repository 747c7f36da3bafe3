// Reversal of element order, byte rotation, and stores of part of a word.
#include "q64/m0_utilities.h"

#include "profiler/hook.h"

namespace {

// Exchanges the e-byte elements at x and y (they do not overlap).
void swapElements(char* x, char* y, uint64_t e) {
    for (uint64_t i = 0; i < e; ++i) {
        char t = x[i];
        x[i] = y[i];
        y[i] = t;
    }
}

void reverseElements(char* area, uint64_t len, uint64_t e) {
    uint64_t count = len / e;
    for (uint64_t i = 0, j = count; i + 1 < j; ++i, --j) {
        swapElements(area + i * e, area + (j - 1) * e, e);
    }
}

// The bytes at[0..m-1] as the low m bytes of a word, at[0] lowest (m <= 8).
uint64_t loadLow(const char* at, uint64_t m) {
    uint64_t v = 0;
    for (uint64_t i = m; i > 0; --i) v = (v << 8) | static_cast<unsigned char>(at[i - 1]);
    return v;
}

}  // namespace

extern "C" int64_t _0_xchgar1(char* area, uint64_t len) {
    PRF_ENTER(_0_xchgar1);
    reverseElements(area, len, 1);
    return 0;
}

extern "C" int64_t _0_xchgar2(char* area, uint64_t len) {
    PRF_ENTER(_0_xchgar2);
    reverseElements(area, len, 2);
    return 0;
}

extern "C" int64_t _0_xchgar4(char* area, uint64_t len) {
    PRF_ENTER(_0_xchgar4);
    reverseElements(area, len, 4);
    return 0;
}

extern "C" int64_t _0_xchgar8(char* area, uint64_t len) {
    PRF_ENTER(_0_xchgar8);
    reverseElements(area, len, 8);
    return 0;
}

extern "C" int64_t _0_xchgar16(char* area, uint64_t len) {
    PRF_ENTER(_0_xchgar16);
    reverseElements(area, len, 16);
    return 0;
}

extern "C" int64_t _0_xchgar(char* area, uint64_t len, uint64_t e) {
    PRF_ENTER(_0_xchgar);
    if (e >= 2 && len % e != 0) return -1;
    switch (e) {
        case 1: return _0_xchgar1(area, len);
        case 2: return _0_xchgar2(area, len);
        case 4: return _0_xchgar4(area, len);
        case 8: return _0_xchgar8(area, len);
        case 16: return _0_xchgar16(area, len);
        default: return -1;
    }
}

extern "C" int64_t _0_stolreg(char* at, uint64_t v, uint64_t m) {
    PRF_ENTER(_0_stolreg);
    if (m < 1 || m > 8) return -1;
    for (uint64_t i = 0; i < m; ++i) at[i] = static_cast<char>(v >> (8 * i));
    return 0;
}

extern "C" int64_t _0_storeg(char* at, uint64_t v, uint64_t m) {
    PRF_ENTER(_0_storeg);
    if (m < 1 || m > 8) return -1;
    for (uint64_t i = 0; i < m; ++i) at[i] = static_cast<char>(v >> (8 * (8 - m + i)));
    return 0;
}

extern "C" int64_t _0_rolr8(char* area, uint64_t n, uint64_t k) {
    PRF_ENTER(_0_rolr8);
    if (k > 8 || k > n) return -1;
    if (k == 0) return 0;
    // The kept bytes go to the top of a word, as _0_storeg takes them.
    uint64_t kept = loadLow(area + n - k, k) << (8 * (8 - k));
    _0_strsftr(area, n - k, k);
    _0_storeg(area, kept, k);
    return 0;
}

extern "C" int64_t _0_rolr16(char* area, uint64_t n, uint64_t k) {
    PRF_ENTER(_0_rolr16);
    if (k > 16 || k > n) return -1;
    if (k <= 8) return _0_rolr8(area, n, k);
    // Kept bytes: the first 8 in one word, the other k - 8 at the top of another.
    const char* keptAt = area + n - k;
    uint64_t first = loadLow(keptAt, 8);
    uint64_t rest = loadLow(keptAt + 8, k - 8) << (8 * (16 - k));
    _0_strsftr(area, n - k, k);
    _0_stolreg(area, first, 8);
    _0_storeg(area + 8, rest, k - 8);
    return 0;
}

extern "C" int64_t _0_rolr(char* area, uint64_t n, uint64_t k) {
    PRF_ENTER(_0_rolr);
    if (k > 16 || k >= n) return -1;
    return k <= 8 ? _0_rolr8(area, n, k) : _0_rolr16(area, n, k);
}
