// The table sieve's segment as a stream of bytes (byte i holds positions 8i
// .. 8i + 7, the first in bit 0x80) against the bitmap's words (most
// significant bit first): loading, storing and searching them.
#pragma once

#include <cstdint>
#include <cstring>
#if defined(__x86_64__)
#include <emmintrin.h>
#endif

namespace sieve {

inline uint64_t streamWord(const uint8_t* p) {
    uint64_t w;
    std::memcpy(&w, p, 8);
    return __builtin_bswap64(w);
}

// Stores n words of the stream in seg as bitmap words at `to`. The stores
// bypass the caches where the processor can: the bitmap is not read again
// while the table is sieved, and the segment and its primes keep the cache.
// Ends with a store fence, so that the words are in memory in the usual
// order for whatever runs after (another thread included).
inline void storeWords(uint64_t* to, const uint8_t* seg, uint64_t n) {
#if defined(__x86_64__)
    for (uint64_t k = 0; k < n; ++k)
        _mm_stream_si64(reinterpret_cast<long long*>(to + k), static_cast<long long>(streamWord(seg + 8 * k)));
    _mm_sfence();
#else
    for (uint64_t k = 0; k < n; ++k) to[k] = streamWord(seg + 8 * k);
#endif
}

inline void orStreamWord(uint8_t* p, uint64_t w) {
    uint64_t v;
    std::memcpy(&v, p, 8);
    v |= __builtin_bswap64(w);
    std::memcpy(p, &v, 8);
}

// First clear bit in [from, to) of bitmap words (most significant bit first),
// or `to`. Load(k) gives word k.
template <typename Load>
uint64_t firstClear(Load load, uint64_t from, uint64_t to) {
    if (from >= to) return to;
    uint64_t k = from / 64;
    uint64_t rest = ~load(k) & (~UINT64_C(0) >> (from % 64));
    uint64_t lastWord = (to - 1) / 64;
    while (rest == 0) {
        if (++k > lastWord) return to;
        rest = ~load(k);
    }
    uint64_t bit = 64 * k + static_cast<uint64_t>(__builtin_clzll(rest));
    return bit < to ? bit : to;
}

inline uint64_t ceilDiv(uint64_t a, uint64_t b) { return a / b + (a % b != 0); }

}  // namespace sieve
