// The inverse of Riemann's prime-counting function R, the estimate of the
// n-th prime whose last gap the n-th prime routine sieves (internal, C++ only).
#pragma once

#include <cstdint>

namespace counting {

// R(t) = sum over n >= 1 of mu(n) / n li(t^(1/n)), in long double.
long double riemannR(long double t);

// The t with R(t) = k, rounded down and capped at 2^64 - 1 (k >= 1).
uint64_t riemannInverse(uint64_t k);

}  // namespace counting
