// How far each function of the package reaches: the largest value of its
// arguments, the reach of its routine.
#pragma once

#include <string>

#include "q64/base.h"
#include "q64/m5_primequery.h"

namespace q64py {

// The largest value an argument may take, and how the error message names it.
struct Limit {
    Q2Value value;
    std::string text;  // e.g. "2**128 - 1"
};

// The limits of the library's full reach.
inline Limit below2to128() { return {Q2Value{~uint64_t{0}, ~uint64_t{0}}, "2**128 - 1"}; }
inline Limit below2to64() { return {Q2Value{~uint64_t{0}, 0}, "2**64 - 1"}; }
// The number of primes below 2^64: the reach of the n-th prime.
inline Limit primesBelow2to64() { return {Q2Value{PRIMES_BELOW_2_64, 0}, "pi(2**64 - 1)"}; }

struct Limits {
    Limit isprime, factor, nextPrime, prevPrime, nthPrime, pi, countPrimes, primes;
};

const Limits& limits();

}  // namespace q64py
