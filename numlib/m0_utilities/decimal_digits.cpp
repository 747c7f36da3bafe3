// Decimal digits of one word, and the byte moves they need.
#include "profiler/hook.h"
#include "q64/m0_utilities.h"

extern "C" uint64_t _0_numtostr(char* buf, uint64_t v) {
    PRF_ENTER(_0_numtostr);
    uint64_t n = 0;
    do {
        buf[n++] = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v != 0);
    _0_strxchch(buf, n);
    return n;
}

extern "C" uint64_t _0_numtostr16(char* buf, uint64_t v) {
    PRF_ENTER(_0_numtostr16);
    constexpr uint64_t kWidth = 16;
    uint64_t n = _0_numtostr(buf, v);
    if (n < kWidth) {
        _0_strshr(buf, n, kWidth - n);
        _0_chset(buf, kWidth - n, '0');
    }
    return kWidth;
}

extern "C" int64_t _0_strxchch(char* area, uint64_t n) {
    PRF_ENTER(_0_strxchch);
    for (uint64_t i = 0, j = n - 1; i < j; ++i, --j) {
        char t = area[i];
        area[i] = area[j];
        area[j] = t;
    }
    return 0;
}

extern "C" uint64_t _0_strshr(char* area, uint64_t n, uint64_t k) {
    PRF_ENTER(_0_strshr);
    for (uint64_t i = n; i-- > 0;) area[i + k] = area[i];
    return k;
}

extern "C" uint64_t _0_numqdecsz(uint64_t v) {
    PRF_ENTER(_0_numqdecsz);
    for (uint64_t i = 0; i < 20; ++i)
        if (pow10tab[i] > v) return i;
    return 20;
}
