// The elliptic curve method with Montgomery curves (internal, C++ only).
#pragma once

#include <cstdint>

#include "numlib/m0_utilities/u128.h"

namespace factoring {

using wordmath::u128;

// A factor f of the odd composite n (not a prime power, no factor below 5),
// 1 < f < n, found by up to `curves` curves with the stage-1 bound of
// `level` (kEcmB1) and a stage 2 up to 50 B1; the curves take the sigma
// values *sigma, *sigma + 1, ... and *sigma moves past those tried. 0 when
// none of them finds one.
u128 ecmFactor(u128 n, int level, int curves, uint64_t* sigma);

}  // namespace factoring
