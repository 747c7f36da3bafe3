// Reading a sieved segment: its clear bits (the primes) in a range of bit
// positions, counted or as numbers one by one. Internal: no profiler hook, so that the
// worker threads may call them.
#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

#include "primetable/interval/interval_span.h"

namespace interval {

// Clear bits of seg in bits [from, to); seg is 8-byte aligned and readable up
// to the word that holds bit to - 1.
uint64_t countClear(const uint8_t* seg, uint64_t from, uint64_t to);

// The numbers of bits 0 .. 111 counted from the start of the period of bit 0:
// a word's bits start anywhere in a period and reach into the next.
constexpr std::array<uint16_t, 112> makeBitNumbers() {
    std::array<uint16_t, 112> numbers{};
    for (uint64_t b = 0; b < numbers.size(); ++b)
        numbers[b] = static_cast<uint16_t>(b / wheel::kSpokes * wheel::kModulus + WheelResidues[b % wheel::kSpokes]);
    return numbers;
}
inline constexpr std::array<uint16_t, 112> kBitNumbers = makeBitNumbers();

// Word k of the stream with its first bit least significant: each byte's
// bits reversed in place, so that the clear bits come out lowest first and
// clearing one does not wait on finding it.
inline uint64_t streamWordLowFirst(const uint8_t* seg, uint64_t k) {
    uint64_t w;
    std::memcpy(&w, seg + 8 * k, 8);
    if constexpr (std::endian::native == std::endian::big) w = __builtin_bswap64(w);
    w = ((w >> 1) & 0x5555555555555555u) | ((w & 0x5555555555555555u) << 1);
    w = ((w >> 2) & 0x3333333333333333u) | ((w & 0x3333333333333333u) << 2);
    return ((w >> 4) & 0x0F0F0F0F0F0F0F0Fu) | ((w & 0x0F0F0F0F0F0F0F0Fu) << 4);
}

// Calls put(n) for the number n of each clear bit in [from, to), ascending,
// where bit 0 of seg is bit `firstBit` of the span's bitmap. A word's
// numbers are a table look-up from its period's start, no division each.
template <typename Put>
void forClearNumbers(const uint8_t* seg, const Span& span, uint64_t firstBit, uint64_t from, uint64_t to, Put put) {
    if (from >= to) return;
    uint64_t k = from / 64;
    const uint64_t last = (to - 1) / 64;
    uint64_t bits = ~streamWordLowFirst(seg, k) & (~uint64_t{0} << (from % 64));
    for (;;) {
        if (k == last) bits &= ~uint64_t{0} >> (63 - (to - 1) % 64);
        if (bits != 0) {
            const uint64_t bit = firstBit + 64 * k;
            const uint64_t start = (span.period + bit / wheel::kSpokes) * wheel::kModulus;
            const uint16_t* numbers = kBitNumbers.data() + bit % wheel::kSpokes;
            do {
                put(start + numbers[__builtin_ctzll(bits)]);
                bits &= bits - 1;
            } while (bits != 0);
        }
        if (k == last) return;
        bits = ~streamWordLowFirst(seg, ++k);
    }
}

}  // namespace interval
