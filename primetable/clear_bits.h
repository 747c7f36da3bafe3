// Counting the clear bits (the primes) of bitmap words, with the processor's
// population-count instruction where it has one. Internal: no profiler hook,
// so that the sieve's worker threads may call it.
#pragma once

#include <cstdint>

namespace table {

uint64_t clearBits(const uint64_t* words, uint64_t n);

}  // namespace table
