// Perfect powers (internal, C++ only).
#pragma once

#include "numlib/m0_utilities/u128.h"

namespace factoring {

using wordmath::u128;

// The largest k >= 2 with n = r^k for an integer r, with r in *root; 1 (and
// *root = n) when n is no perfect power. For n >= 2 with no prime factor
// below `smallest` (>= 3), so that only k with smallest^k <= n are tried.
unsigned perfectPower(u128 n, uint64_t smallest, u128* root);

// The floor of the k-th root of n, k >= 2.
u128 integerRoot(u128 n, unsigned k);

}  // namespace factoring
