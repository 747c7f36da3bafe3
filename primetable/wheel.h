// The wheel of 210 = 2 * 3 * 5 * 7 and the 46 primes below 211.
//
// Only numbers prime to 210 have a bit in the prime table: 48 in every 210
// consecutive numbers. The tables are computed at compile time.
#pragma once

#include <array>
#include <cstdint>

namespace wheel {

inline constexpr uint64_t kModulus = 210;
inline constexpr uint64_t kSpokes = 48;  // positions per period
// The first number with a bit in the table: below it the wheel's primes and
// every number prime to 210 up to 209 are the 46 small primes.
inline constexpr uint64_t kFirstNumber = kModulus + 1;  // 211

constexpr bool primeTo210(uint64_t r) { return r % 2 && r % 3 && r % 5 && r % 7; }

constexpr std::array<uint64_t, kSpokes> makeResidues() {
    std::array<uint64_t, kSpokes> residues{};
    uint64_t k = 0;
    for (uint64_t r = 1; r < kModulus; ++r)
        if (primeTo210(r)) residues[k++] = r;
    return residues;
}

// High 32 bits: index of r among the residues, or all ones when r shares a
// factor with 210 (the word is then negative). Low 32 bits: how many residues
// are not above r (the index of the first residue above r).
constexpr std::array<uint64_t, kModulus> makeIndex() {
    std::array<uint64_t, kModulus> index{};
    uint64_t count = 0;
    for (uint64_t r = 0; r < kModulus; ++r) {
        uint64_t high = 0xFFFFFFFFu;
        if (primeTo210(r)) high = count++;
        index[r] = (high << 32) | count;
    }
    return index;
}

constexpr bool isSmallPrime(uint64_t n) {
    if (n < 2) return false;
    for (uint64_t d = 2; d * d <= n; ++d)
        if (n % d == 0) return false;
    return true;
}

// The 46 primes below 211, one per byte, eight per word read from the most
// significant byte down; two bytes 0xFF end the list.
constexpr std::array<uint64_t, 6> makeSmallPrimeBytes() {
    std::array<uint64_t, 6> words{};
    uint64_t byte = 0;
    for (uint64_t n = 2; n < kFirstNumber; ++n) {
        if (!isSmallPrime(n)) continue;
        words[byte / 8] |= n << (56 - 8 * (byte % 8));
        ++byte;
    }
    for (; byte < 48; ++byte) words[byte / 8] |= uint64_t{0xFF} << (56 - 8 * (byte % 8));
    return words;
}

inline constexpr uint64_t kSmallPrimeCount = 46;

}  // namespace wheel

// 210 followed by 48.
inline constexpr std::array<uint64_t, 2> WheelConstants = {wheel::kModulus, wheel::kSpokes};
inline constexpr std::array<uint64_t, wheel::kSpokes> WheelResidues = wheel::makeResidues();
inline constexpr std::array<uint64_t, wheel::kModulus> WheelIndex = wheel::makeIndex();
inline constexpr std::array<uint64_t, 6> SmallPrimeBytes = wheel::makeSmallPrimeBytes();

namespace wheel {

// The number of a table-wide bit position: position 0 is 211, and every 48
// positions cover the next 210 numbers (q64/m5_primetable.h).
constexpr uint64_t numberAt(uint64_t position) {
    return (position / kSpokes + 1) * kModulus + WheelResidues[position % kSpokes];
}

// Prime i of the 46 below 211 (i from 0), read from SmallPrimeBytes.
constexpr uint64_t smallPrime(uint64_t i) { return (SmallPrimeBytes[i / 8] >> (56 - 8 * (i % 8))) & 0xFF; }

// The smallest prime above n among those below 211, or 211 when none is.
constexpr uint64_t smallPrimeAbove(uint64_t n) {
    for (uint64_t i = 0; i < kSmallPrimeCount; ++i)
        if (smallPrime(i) > n) return smallPrime(i);
    return kFirstNumber;
}

}  // namespace wheel

static_assert(WheelResidues[0] == 1 && WheelResidues[1] == 11 && WheelResidues[47] == 209);
static_assert(WheelIndex[0] == 0xFFFFFFFF00000000u && WheelIndex[1] == 1);
static_assert(WheelIndex[2] == 0xFFFFFFFF00000001u && WheelIndex[11] == ((uint64_t{1} << 32) | 2));
static_assert(WheelIndex[209] == ((uint64_t{47} << 32) | 48));
static_assert(SmallPrimeBytes[0] == 0x020305070B0D1113u && SmallPrimeBytes[5] == 0xB3B5BFC1C5C7FFFFu);
