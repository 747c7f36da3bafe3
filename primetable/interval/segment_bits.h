// Reading a sieved segment: its clear bits (the primes) in a range of bit
// positions, counted or one by one. Internal: no profiler hook, so that the
// worker threads may call them.
#pragma once

#include <cstdint>
#include <cstring>

namespace interval {

// Word k of the stream (bytes 8k .. 8k + 7) with its first bit most significant.
inline uint64_t streamWord(const uint8_t* seg, uint64_t k) {
    uint64_t w;
    std::memcpy(&w, seg + 8 * k, 8);
    return __builtin_bswap64(w);
}

// Clear bits of seg in bits [from, to); seg is 8-byte aligned and readable up
// to the word that holds bit to - 1.
uint64_t countClear(const uint8_t* seg, uint64_t from, uint64_t to);

// Calls put(bit) for each clear bit in [from, to), ascending.
template <typename Put>
void forClearBits(const uint8_t* seg, uint64_t from, uint64_t to, Put put) {
    if (from >= to) return;
    uint64_t k = from / 64;
    const uint64_t last = (to - 1) / 64;
    uint64_t bits = ~streamWord(seg, k) & (~uint64_t{0} >> (from % 64));
    for (;;) {
        if (k == last) bits &= ~uint64_t{0} << (63 - (to - 1) % 64);
        while (bits != 0) {
            unsigned b = static_cast<unsigned>(__builtin_clzll(bits));
            put(64 * k + b);
            bits &= ~(uint64_t{1} << 63) >> b;
        }
        if (k == last) return;
        bits = ~streamWord(seg, ++k);
    }
}

}  // namespace interval
