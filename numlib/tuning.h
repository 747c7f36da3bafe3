// Method thresholds of the number library, in 64-bit words: the size from
// which each faster method takes over from the one below it. They change
// speed only, never a result.
//
// Chosen with bench/tune_thresholds, which builds its own copy of the library
// with these as variables and, for each threshold in turn (the ones before
// it set), times the method switched on exactly at size n against switched
// off, and takes the first size from which it wins.
// PLACEHOLDER: figures to be filled in after the measurement.
#pragma once

#include <cstdint>

#if defined(Q64_TUNE_THRESHOLDS)
#define Q64_THRESHOLD(name, value) extern uint64_t name;
#else
#define Q64_THRESHOLD(name, value) inline constexpr uint64_t name = value;
#endif

namespace tuning {

// Products of two n-word numbers: schoolbook below kMulKaratsuba, Karatsuba
// below kMulToom3, Toom-3 below kMulToom4, Toom-4 from there on.
Q64_THRESHOLD(kMulKaratsuba, 24)
Q64_THRESHOLD(kMulToom3, 90)
Q64_THRESHOLD(kMulToom4, 300)

// Squares: the general schoolbook below kSqrBasecase, then the squaring
// schoolbook (each cross product once), Karatsuba, Toom-3 and Toom-4
// squaring.
Q64_THRESHOLD(kSqrBasecase, 8)
Q64_THRESHOLD(kSqrKaratsuba, 32)
Q64_THRESHOLD(kSqrToom3, 110)
Q64_THRESHOLD(kSqrToom4, 350)

// Long division: divide and conquer from kDivDC divisor words on.
Q64_THRESHOLD(kDivDC, 50)

// Decimal conversion by halves: writing from kToTextDC words of the number
// on, reading from runs of peta digits that make kFromTextDC words.
Q64_THRESHOLD(kToTextDC, 30)
Q64_THRESHOLD(kFromTextDC, 60)

}  // namespace tuning

#undef Q64_THRESHOLD
