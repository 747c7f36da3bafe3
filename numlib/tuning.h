// Method thresholds of the number library, in 64-bit words: the size from
// which each faster method takes over from the one below it. They change
// speed only, never a result.
//
// Measured with bench/tune_thresholds, which builds its own copy of the
// library with these as variables and, for each threshold in turn (the ones
// before it set), times the operation at sizes across a range with the
// method switched on exactly from that size and switched off; the threshold
// is the size from which switching on gains most over the range, a gain
// below 1% counting as none.
//
// Measurement: 2026-12-07, AMD EPYC (family 25, Zen 3, 2 cores under KVM,
// MULX/ADX kernels), g++ 12.2 -O3, five runs while other builds shared the
// machine (load average 5 to 7), the median on/off time ratio per size:
//   kMulKaratsuba  24: 1.03  26: 0.96  28: 1.04  32: 0.96  36: 0.98  40: 0.93  48: 0.87
//   kMulToom3     120: 0.99 136: 1.05 144: 0.95 152: 0.93 168: 0.99 184: 0.92 240: 0.91
//   kMulToom4     310: 0.99 340: 1.01 370: 0.97 400: 0.96 460: 0.94 640: 0.95 760: 0.91
//   kSqrBasecase    3: 1.22   4: 0.97   5: 0.89   6: 0.79   8: 1.00  10: 0.82  16: 0.85
//   kSqrKaratsuba  56: 1.11  60: 1.02  64: 0.98  68: 0.97  76: 0.96  88: 0.94 104: 0.91
//   kSqrToom3     190: 0.99 200: 1.02 210: 0.97 220: 0.98 250: 0.96 290: 0.94 400: 0.96
//   kSqrToom4     790: 1.01 820: 1.03 850: 0.97 880: 1.00 910: 0.98 970: 0.97
//   kDivDC         48: 0.94  54: 1.03  84: 1.00  90: 0.93  96: 0.91 102: 0.86 120: 0.86
//   kToTextDC       4: 1.12   8: 0.97  12: 0.86  16: 0.80  24: 0.75  48: 0.68
//   kFromTextDC    28: 1.05  36: 0.99  44: 0.94  52: 0.90  60: 1.04  76: 0.94 100: 0.88
// On a quiet machine the curves are smoother; thresholds within the flat
// stretches (Toom-3 against Toom-4 differ by a few per cent over hundreds of
// words) matter little.
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
Q64_THRESHOLD(kMulKaratsuba, 32)
Q64_THRESHOLD(kMulToom3, 144)
Q64_THRESHOLD(kMulToom4, 370)

// Squares: the general schoolbook below kSqrBasecase, then the squaring
// schoolbook (each cross product once), Karatsuba, Toom-3 and Toom-4
// squaring.
Q64_THRESHOLD(kSqrBasecase, 4)
Q64_THRESHOLD(kSqrKaratsuba, 64)
Q64_THRESHOLD(kSqrToom3, 210)
Q64_THRESHOLD(kSqrToom4, 850)

// Long division: divide and conquer from kDivDC divisor words on.
Q64_THRESHOLD(kDivDC, 90)

// Decimal conversion by halves: writing from kToTextDC words of the number
// on, reading from runs of peta digits that make kFromTextDC words.
Q64_THRESHOLD(kToTextDC, 8)
Q64_THRESHOLD(kFromTextDC, 36)

}  // namespace tuning

#undef Q64_THRESHOLD
