// The wheel of 30 that every counting sieve uses: one byte per 30 numbers,
// one bit for each residue prime to 30 (1, 7, 11, 13, 17, 19, 23, 29), so a
// 64-bit word covers 240 numbers (internal, C++ only).
#pragma once

#include <array>
#include <cstdint>

namespace counting {

inline constexpr uint8_t kResidue[9] = {1, 7, 11, 13, 17, 19, 23, 29, 31};

// The bit of residue r (0 .. 29) in its byte; 8 when r is not prime to 30.
inline constexpr std::array<uint8_t, 30> kBitOf = [] {
    std::array<uint8_t, 30> bit{};
    for (unsigned r = 0; r < 30; ++r) bit[r] = 8;
    for (unsigned i = 0; i < 8; ++i) bit[kResidue[i]] = static_cast<uint8_t>(i);
    return bit;
}();

// The bits of the residues up to r, r = 0 .. 29.
inline constexpr std::array<uint8_t, 30> kMaskUpTo = [] {
    std::array<uint8_t, 30> mask{};
    for (unsigned r = 0; r < 30; ++r)
        for (unsigned i = 0; i < 8; ++i)
            if (kResidue[i] <= r) mask[r] |= static_cast<uint8_t>(1u << i);
    return mask;
}();

// How many numbers in [1, v] are prime to 30: the wheel index of the first
// one above v.
inline uint64_t wheelCount(uint64_t v) {
    return v / 30 * 8 + static_cast<uint64_t>(__builtin_popcount(kMaskUpTo[v % 30]));
}
// The number at wheel index i (0 is 1).
inline uint64_t wheelNumber(uint64_t i) { return i / 8 * 30 + kResidue[i % 8]; }

// The bits of a 64-bit word of bitmap bytes that stand for numbers up to
// and including byte `byte` (0 .. 7), residue r, of the word.
inline uint64_t wordMaskUpTo(unsigned byte, unsigned r) {
    const uint64_t below = byte == 0 ? 0 : ~uint64_t{0} >> (64 - 8 * byte);
    return below | uint64_t{kMaskUpTo[r]} << (8 * byte);
}

inline unsigned popcount64(uint64_t w) { return static_cast<unsigned>(__builtin_popcountll(w)); }

}  // namespace counting
