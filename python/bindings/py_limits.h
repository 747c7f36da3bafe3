// How far each function of the package reaches: its routine's reach, fetched
// once (for an interim routine this builds its prime table).
#pragma once

#include "python/bindings/py_arguments.h"

namespace q64py {

struct Limits {
    Limit isprime, factor, nextPrime, prevPrime, nthPrime, pi, countPrimes, primes;
};

// Raises MemoryError when what the routines need was refused.
const Limits& limits();

}  // namespace q64py
