// Pollard's rho method in Brent's form (internal, C++ only).
#pragma once

#include <cstdint>

#include "numlib/m0_utilities/u128.h"

namespace factoring {

using wordmath::u128;

// A factor f of the odd composite n with 1 < f < n, or 0 when none turned up
// within about `budget` steps of the iteration (spread over several
// polynomials). The factor need not be prime.
u128 rhoFactor(u128 n, uint64_t budget);

}  // namespace factoring
