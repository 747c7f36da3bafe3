// Method thresholds of the number library, in 64-bit words: the size from
// which each faster method takes over from the one below it. They change
// speed only, never a result.
//
// Measured with bench/tune_thresholds (the crossover of the two methods at
// each step, each timed with the thresholds below it already in place).
// PLACEHOLDER: figures to be filled in after the measurement.
#pragma once

#include <cstdint>

namespace tuning {

// Products of two n-word numbers: schoolbook below kMulKaratsuba, Karatsuba
// below kMulToom3, Toom-3 above.
inline constexpr uint64_t kMulKaratsuba = 24;
inline constexpr uint64_t kMulToom3 = 90;

// Squares: the squaring schoolbook (each cross product once) from
// kSqrBasecase on, then Karatsuba and Toom-3 squaring.
inline constexpr uint64_t kSqrBasecase = 8;
inline constexpr uint64_t kSqrKaratsuba = 32;
inline constexpr uint64_t kSqrToom3 = 110;

// Long division: divide and conquer from kDivDC divisor words on.
inline constexpr uint64_t kDivDC = 50;

// Decimal conversion by halves from these many words of the number on.
inline constexpr uint64_t kToTextDC = 30;
inline constexpr uint64_t kFromTextDC = 60;

}  // namespace tuning
