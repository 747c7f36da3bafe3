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
//
// kKernelWords and kCopyRows were timed directly (best of 25 runs), the
// same day and machine: addMul1 inline loop against the assembly, ns at
// 6/7/8 words: 14.1/13.5, 13.7/15.8, 18.9/9.1; mul1 9.7/10.4, 15.4/13.5,
// 18.3/8.2. Rows over a copy of R against one short row per word of R,
// time ratio for A of 2 words and R of 8/12/16/24 words: 0.89, 0.71, 0.62,
// 0.52; A of 7 words: 0.93, 0.77, 0.64, 0.55.
#pragma once

#include <cstdint>

#if defined(Q64_TUNE_THRESHOLDS)
#define Q64_THRESHOLD(name, value) extern uint64_t name;
#else
#define Q64_THRESHOLD(name, value) inline constexpr uint64_t name = value;
#endif

namespace tuning {

// Word arrays from kKernelWords words on go to the assembly kernels; shorter
// ones take the inline loops, which cost less than a call into them.
Q64_THRESHOLD(kKernelWords, 8)

// A product by an A shorter than kMulKaratsuba words runs as rows over a copy
// of R in the working stack from kCopyRows words of R on, below that in
// place as one short row per word of R.
Q64_THRESHOLD(kCopyRows, 12)

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
