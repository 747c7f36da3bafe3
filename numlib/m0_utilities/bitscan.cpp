#include "q64/m0_utilities.h"

#include "profiler/hook.h"

extern "C" int64_t _0_bitscan0(const uint64_t* words, uint64_t start, uint64_t count) {
    PRF_ENTER(_0_bitscan0);
    uint64_t k = start / 64;
    if (k >= count) return -1;
    // Complement, so that clear bits become set bits; drop those before start.
    uint64_t rest = ~words[k] & (~UINT64_C(0) >> (start % 64));
    while (rest == 0) {
        if (++k == count) return -1;
        rest = ~words[k];
    }
    return static_cast<int64_t>(64 * k + static_cast<uint64_t>(__builtin_clzll(rest)));
}

extern "C" int64_t _0_bitscan0n(uint64_t word, uint64_t n) {
    PRF_ENTER(_0_bitscan0n);
    uint64_t clear = ~word;
    if (n == 0) return -1;
    // Drop the n - 1 highest clear bits; the next one is the answer.
    for (; clear != 0; --n) {
        int top = __builtin_clzll(clear);
        if (n == 1) return top;
        clear &= ~(UINT64_C(0x8000000000000000) >> top);
    }
    return -1;
}
