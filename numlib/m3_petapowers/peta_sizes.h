// Size estimates of powers of 10^16 as compile-time functions, shared by the
// _3_ size routines and the generator of the PetaPowers table.
#pragma once

#include <cstdint>

namespace peta {

// 16 log2 10 = 53.1508... with 58 fraction bits.
inline constexpr uint64_t kBitsPerDigit = 0xD49A784BCD1B8500u;
// log10(2) / 16 = 0.018814... with 64 fraction bits.
inline constexpr uint64_t kDigitsPerBit = 0x04D104D427DE7F69u;

constexpr uint64_t bitLength(uint64_t k) {
    unsigned __int128 whole = (static_cast<unsigned __int128>(k) * kBitsPerDigit) >> 58;
    if (whole >= UINT64_MAX) return UINT64_MAX;
    return static_cast<uint64_t>(whole) + 1;
}

constexpr uint64_t wordLength(uint64_t k) {
    uint64_t bits = bitLength(k);
    return bits / 64 + (bits % 64 != 0);
}

constexpr uint64_t reducedLength(uint64_t k) { return wordLength(k) - k / 4; }

constexpr uint64_t digitsOfBits(uint64_t b) {
    if (b == 0) b = 1;
    unsigned __int128 prod = static_cast<unsigned __int128>(b - 1) * kDigitsPerBit;
    return static_cast<uint64_t>(prod >> 64) + 1;
}

static_assert(bitLength(1) == 54 && wordLength(0) == 1 && wordLength(32) == 27);
static_assert(reducedLength(32) == 19 && reducedLength(33) == 20);

}  // namespace peta
