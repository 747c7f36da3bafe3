// The primes of an interval, gathered from the listing routine's batches.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace q64py {

using PrimeVector = std::vector<uint64_t>;

// With the GIL held: the primes p with a <= p <= b (a <= b, both inside the
// listing routine's reach), ascending. They are gathered in one sieve pass
// (counting first would sieve the interval twice) into room reserved up front
// from a bound on their count, so the vector is allocated once, and the pages
// of room the primes do not fill are never touched. Raises MemoryError when
// memory is refused, and what a signal handler raised (KeyboardInterrupt)
// when a signal stops the run (PythonError).
std::unique_ptr<PrimeVector> listPrimes(uint64_t a, uint64_t b);

// Room for the primes of [a, b]: at least their number (a bound, not the
// count; the vector grows should it fall short).
uint64_t primeCountBound(uint64_t a, uint64_t b);

}  // namespace q64py
