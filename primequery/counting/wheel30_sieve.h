// The counting methods' own segmented sieve of Eratosthenes on the wheel of
// 30 (internal, C++ only): kept to this one file so that an interval sieve
// of the table layer may later take its place.
//
// A segment is the bytes [byteLo, byteHi) of the wheel bitmap, byte j
// standing for the numbers 30 j .. 30 j + 29. Buffers are whole 64-bit words.
#pragma once

#include <array>
#include <cstdint>

#include "primequery/counting/wheel30.h"

namespace counting {

// Where a prime's crossing-off stands: the byte of its next multiple p k and
// the wheel index of k (k prime to 30, so only those multiples are met).
struct CrossState {
    uint64_t at;     // byte of the next multiple
    uint32_t pDiv;   // p / 30
    uint8_t pIndex;  // wheel index of p % 30
    uint8_t kIndex;  // wheel index of k % 30
};

namespace detail {
// For p = 30 d + kResidue[i] and k at wheel index w: the bit of p k in its
// byte, and the bytes to p's next multiple beyond d times the gap in k.
struct CrossStep {
    uint8_t bit;
    uint8_t carry;
    uint8_t gap;
};

constexpr std::array<std::array<CrossStep, 8>, 8> kSteps = [] {
    std::array<std::array<CrossStep, 8>, 8> steps{};
    for (unsigned i = 0; i < 8; ++i)
        for (unsigned w = 0; w < 8; ++w) {
            const unsigned rest = kResidue[i] * kResidue[w] % 30;
            const unsigned gap = kResidue[w + 1] - kResidue[w];
            steps[i][w] = {kBitOf[rest], static_cast<uint8_t>((rest + kResidue[i] * gap) / 30),
                           static_cast<uint8_t>(gap)};
        }
    return steps;
}();

// The wheel bytes with the multiples of 7, 11 and 13 cleared; they repeat
// every 7 * 11 * 13 = 1001 bytes. Twice over, so that a copy never wraps
// inside one chunk.
constexpr uint64_t kPatternBytes = 1001;
constexpr std::array<uint8_t, 2 * kPatternBytes> kPattern = [] {
    std::array<uint8_t, 2 * kPatternBytes> bytes{};
    for (uint64_t j = 0; j < 2 * kPatternBytes; ++j) {
        uint8_t byte = 0;
        for (unsigned i = 0; i < 8; ++i) {
            const uint64_t n = 30 * j + kResidue[i];
            if (n % 7 != 0 && n % 11 != 0 && n % 13 != 0) byte |= static_cast<uint8_t>(1u << i);
        }
        bytes[j] = byte;
    }
    return bytes;
}();

}  // namespace detail

// Calls clear(offset, bit) for each multiple of the state's prime in the
// segment (offset from byteLo) and moves the state past it: whole turns of
// the wheel (8 multiples, p bytes) while they fit, then single steps.
template <typename Clear>
inline void forEachMultiple(uint64_t byteLo, uint64_t byteHi, CrossState& state, Clear clear) {
    if (state.at >= byteHi) return;
    const std::array<detail::CrossStep, 8>& steps = detail::kSteps[state.pIndex];
    const uint64_t d = state.pDiv;
    uint64_t at = state.at - byteLo;
    const uint64_t end = byteHi - byteLo;
    unsigned w = state.kIndex;
    const uint64_t p = 30 * d + kResidue[state.pIndex];
    if (at + p < end) {
        uint64_t offset[8];
        unsigned bit[8];
        uint64_t o = 0;
        for (unsigned j = 0; j < 8; ++j) {
            const detail::CrossStep& s = steps[(w + j) & 7];
            offset[j] = o;
            bit[j] = s.bit;
            o += d * s.gap + s.carry;
        }
        for (; at + p < end; at += p)
            for (unsigned j = 0; j < 8; ++j) clear(at + offset[j], bit[j]);
    }
    while (at < end) {
        const detail::CrossStep& s = steps[w];
        clear(at, s.bit);
        at += d * s.gap + s.carry;
        w = (w + 1) & 7;
    }
    state.at = at + byteLo;
    state.kIndex = static_cast<uint8_t>(w);
}

// Starts prime p (> 5) at its first multiple p k >= from with k >= kMin.
CrossState startCrossing(uint64_t p, uint64_t from, uint64_t kMin);

// Fills the segment with the numbers prime to 2, 3, 5, 7, 11 and 13 (7, 11
// and 13 themselves cleared; 1 left set).
void presieve(uint8_t* segment, uint64_t byteLo, uint64_t byteHi);

// Clears the bits of p's multiples in the segment and moves the state past it.
void crossOff(uint8_t* segment, uint64_t byteLo, uint64_t byteHi, CrossState& state);

// crossOff that also lowers counters[byte >> chunkShift] and *total for
// every bit that was still set.
void crossOffCounted(uint8_t* segment, uint64_t byteLo, uint64_t byteHi, CrossState& state, uint32_t* counters,
                     unsigned chunkShift, uint64_t* total);

// After presieve and crossing off with every prime from 17 up to the
// square root of the segment's end (each from its square): the primes' bits
// are then exactly those set, once the first byte's 1, 7, 11 and 13 are put
// right here.
void fixFirstByte(uint8_t* segment, uint64_t byteLo);

// Consecutive segments sieved to their primes above 5 (1 cleared, 7, 11
// and 13 kept) with the primes of an ascending array that reaches the
// square root of the last segment's end; each prime is started when the
// segments reach its square. `states` holds one CrossState per prime.
class PrimeSegments {
public:
    PrimeSegments(const uint32_t* primes, uint64_t count, CrossState* states, uint64_t firstByte);
    // Sieves [byteLo, byteHi), byteLo being where the previous one ended.
    void sieve(uint8_t* segment, uint64_t byteLo, uint64_t byteHi);

private:
    const uint32_t* primes_;
    uint64_t count_;
    CrossState* states_;
    uint64_t first_;    // index of the first prime above 13
    uint64_t started_;  // primes first_ .. started_ - 1 have states
    uint64_t from_;     // the first segment's first byte
};

// The set bits of the words [0, words).
uint64_t countBits(const uint8_t* segment, uint64_t words);

}  // namespace counting
