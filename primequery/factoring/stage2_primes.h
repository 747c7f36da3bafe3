// Which odd numbers below 2^20 are prime, for stage 2 of the elliptic curve
// method (internal, C++ only).
#pragma once

#include <cstdint>

namespace factoring {

inline constexpr uint32_t kStage2Limit = uint32_t{1} << 20;

// Whether the odd number q < kStage2Limit is prime.
bool oddIsPrime(uint32_t q);

}  // namespace factoring
