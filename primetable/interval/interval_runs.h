// Counting and listing the primes of [a, b] (b < 2^64) on the threads the run
// controls allow: the interval is cut into chunks that the threads take from
// a shared counter, each sieved by a SegmentSieve of its own. Counts add up;
// listed primes reach the sink in ascending order whatever the thread count.
// A count over an interval short beside sqrt(b) shares out the sieving
// primes instead, every thread sieving every segment with its share.
#pragma once

#include <cstdint>

#include "q64/m5_primetable.h"

namespace interval {

inline constexpr uint64_t kFailed = ~uint64_t{0};

// The number of primes in [a, b]; kFailed when a > b, memory was refused or
// the progress hook stopped the run. Not reentrant.
uint64_t countPrimes(uint64_t a, uint64_t b);

// The primes of [a, b] to `sink` in batches: 0 all delivered, 1 the sink or
// the progress hook stopped the run, -1 a > b or memory refused. Not
// reentrant.
int64_t eachPrime(uint64_t a, uint64_t b, Q64PrimeSink sink, void* context);

namespace testing {
// Chunks of at most this many numbers (0: the tuned sizes), so that small
// intervals reach several threads.
void setChunkNumbers(uint64_t numbers);
// Counts on two threads or more share the sieving primes out whatever the
// interval while on.
void sharePrimesAlways(bool on);
// How many threads sieved in the last run.
unsigned threadsOfLastRun();
}  // namespace testing

}  // namespace interval
