// A short interval high up: testing its odd numbers one by one with the
// 64-bit primality test costs less than generating the sieving primes up to
// sqrt(b) (1.9 s for any interval just below 2^64), with the same answers,
// since the test is exact below 2^64 (internal, C++ only).
#pragma once

#include <cstdint>

#include "q64/m5_primetable.h"

namespace interval {

// Whether [a, b] (a <= b) is short enough for the tests to beat the sieve.
bool testsBeatSieving(uint64_t a, uint64_t b);

// The count and the primes of [a, b] by the tests; the results and stops of
// countPrimes and eachPrime (the progress hook asked every 2^16 numbers).
uint64_t countByTests(uint64_t a, uint64_t b);
int64_t eachByTests(uint64_t a, uint64_t b, Q64PrimeSink sink, void* context);

namespace testing {
// Off: every interval is sieved (the tests compare both ways).
void allowTests(bool allowed);
}  // namespace testing

}  // namespace interval
