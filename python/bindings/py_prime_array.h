// The primes of an interval as a NumPy array of uint64.
#pragma once

#include <pybind11/numpy.h>

#include <cstdint>

namespace q64py {

namespace py = pybind11;

// The primes p with a <= p <= b (a <= b, both inside the listing routine's
// reach), ascending. The array grows in C++ from the routine's batches in one
// sieve pass (counting first would sieve the interval twice); its room is
// reserved up front from a bound on the count, so it is allocated once, and
// the pages of room the primes do not fill are never touched. Raises
// MemoryError when memory is refused, and what a signal handler raised
// (KeyboardInterrupt) when a signal stops the run.
py::array_t<uint64_t> listPrimes(uint64_t a, uint64_t b);

// Room for the primes of [a, b]: at least their number (a bound, not the
// count; the array grows should it fall short).
uint64_t primeCountBound(uint64_t a, uint64_t b);

}  // namespace q64py
