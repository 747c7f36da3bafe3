// Interim stand-ins for the library routines that answer without a prime
// table (counts, lists, pi(x) and the n-th prime below 2^64). Each has
// the signature and the contract of the routine it stands for, but answers
// from a 1 MB start table (the numbers below 36,699,251) built on first use,
// and only inside its reach: the package checks every argument against the
// reach first. This file goes away when the routines are in the library.
//
// Not reentrant (the table and the library's work records are shared):
// callers hold the package's library lock.
#pragma once

#include <cstdint>

#include "python/bindings/py_limits.h"
#include "q64/m5_primequery.h"

namespace interim {

// The callback of prmeach: a batch of primes in ascending order; a nonzero
// answer stops the run.
using PrimeSink = int (*)(const uint64_t* primes, uint64_t count, void* context);

// Builds the start table unless it exists; false when memory was refused.
bool haveTable();

// How far the stand-ins reach (each builds the table first; a zero limit when
// memory was refused): the n-th prime up to the table's prime count; pi(x),
// counts and lists below the table's limit.
q64py::Limit nthReach();
q64py::Limit tableReach();

uint64_t prmnthx(uint64_t k);
uint64_t prmpi(uint64_t x);
uint64_t prmcount(uint64_t a, uint64_t b);
int64_t prmeach(uint64_t a, uint64_t b, PrimeSink sink, void* context);

}  // namespace interim
