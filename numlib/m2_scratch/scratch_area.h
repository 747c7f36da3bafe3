// Layout of the static scratch area, for the allocator and its tests.
#pragma once

#include <array>
#include <cstdint>

namespace scratch {

inline constexpr uint64_t kAreaWords = 49152;
inline constexpr uint64_t kConstantSpaceWords = 16382;
inline constexpr uint64_t kWorkingSpaceWords = 32766;
inline constexpr uint64_t kWorkingCapacity = 0x8000;   // header words included
inline constexpr uint64_t kConstantCapacity = 0x4000;  // header words included
inline constexpr uint32_t kWorkingMarker = 0x73746B30;   // "0kts" in memory order
inline constexpr uint32_t kConstantMarker = 0x636E7374;  // "tsnc" in memory order
static_assert(kConstantSpaceWords + 4 + kWorkingSpaceWords == kAreaWords);

// Index of each stack's bounds word within the area. The working stack's word
// i lies i words above its bounds word; the constant stack's word i lies i
// words below its bounds word.
inline constexpr uint64_t kConstantBounds = kConstantSpaceWords + 1;
inline constexpr uint64_t kWorkingBounds = kConstantSpaceWords + 2;

// The area itself (word-aligned, 393,216 bytes).
extern std::array<uint64_t, kAreaWords> area;

}  // namespace scratch
