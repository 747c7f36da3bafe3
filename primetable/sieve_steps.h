// Constant tables that let the sieve step from one multiple of a prime to the
// next without a division.
//
// The multiples of a prime q = 210 Q + r (r prime to 210) that have a bit are
// q * m with m prime to 210, m = 210 a + WheelResidues[j]. Their positions
// rise, from m to the next such cofactor, by 48 Q gap[j] plus a part that
// depends only on r and j; and the bit of q * m within its byte (the bitmap
// read as a stream of bytes, most significant bit first) depends only on r
// and j, because 48 positions are 6 whole bytes. So the sieve keeps, per
// prime, the byte of its next multiple and the wheel index j of the cofactor,
// and steps by gap[j] * 6 Q + byteGap[r][j] bytes.
#pragma once

#include <array>
#include <cstdint>

#include "primetable/wheel.h"

namespace sieve {

// Residue of index 48: the first residue of the next period, 210 + 1.
constexpr uint64_t residueAt(uint64_t j) {
    return j < wheel::kSpokes ? WheelResidues[j] : wheel::kModulus + WheelResidues[0];
}

// Position, counted from the number 0, of a number prime to 210.
constexpr uint64_t positionFromZero(uint64_t n) {
    return n / wheel::kModulus * wheel::kSpokes + (WheelIndex[n % wheel::kModulus] >> 32);
}

constexpr std::array<uint8_t, wheel::kSpokes> makeGaps() {
    std::array<uint8_t, wheel::kSpokes> gaps{};
    for (uint64_t j = 0; j < wheel::kSpokes; ++j) gaps[j] = static_cast<uint8_t>(residueAt(j + 1) - residueAt(j));
    return gaps;
}

using StepRow = std::array<uint16_t, wheel::kSpokes>;
using MaskRow = std::array<uint8_t, wheel::kSpokes>;

constexpr std::array<StepRow, wheel::kSpokes> makeByteGaps() {
    std::array<StepRow, wheel::kSpokes> rows{};
    for (uint64_t ri = 0; ri < wheel::kSpokes; ++ri) {
        uint64_t r = WheelResidues[ri];
        for (uint64_t j = 0; j < wheel::kSpokes; ++j)
            rows[ri][j] = static_cast<uint16_t>((positionFromZero(r * residueAt(j + 1)) >> 3) -
                                                (positionFromZero(r * residueAt(j)) >> 3));
    }
    return rows;
}

constexpr std::array<MaskRow, wheel::kSpokes> makeMasks() {
    std::array<MaskRow, wheel::kSpokes> rows{};
    for (uint64_t ri = 0; ri < wheel::kSpokes; ++ri)
        for (uint64_t j = 0; j < wheel::kSpokes; ++j)
            rows[ri][j] = static_cast<uint8_t>(0x80u >> (positionFromZero(WheelResidues[ri] * residueAt(j)) & 7));
    return rows;
}

// gap[j]: from the cofactor WheelResidues[j] to the next number prime to 210.
inline constexpr std::array<uint8_t, wheel::kSpokes> kGap = makeGaps();
// byteGap[ri][j], mask[ri][j]: for primes whose residue is WheelResidues[ri].
inline constexpr std::array<StepRow, wheel::kSpokes> kByteGap = makeByteGaps();
inline constexpr std::array<MaskRow, wheel::kSpokes> kMask = makeMasks();

static_assert(kGap[0] == 10 && kGap[1] == 2 && kGap[46] == 10 && kGap[47] == 2);
static_assert(positionFromZero(211) == 48 && positionFromZero(209) == 47);

}  // namespace sieve
