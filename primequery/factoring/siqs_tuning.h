// Parameters of the self-initialising quadratic sieve by the size of n
// (internal, C++ only). They change speed only, never a result.
//
// fbSize: primes of the factor base (2 and the primes p with kN a square
// mod p, up to the count); interval: the sieve interval [-M, M) in bytes
// (2M, at most 32 KB); lpMult: the large-prime bound as a multiple of the
// factor base's largest prime; fudge: bits below the log2 of the largest
// |Q(x)| at which a sieve value makes a candidate; skipBelow: the primes
// below it are not sieved (they hit often and add little to the log).
//
// Measurement: 2026-12-08, AMD EPYC (Zen 3, 2 cores under KVM), g++ 12.2
// -O3, while other builds loaded the machine (load average 3 to 9). For each
// size, 16 products of two primes of half the size (fixed seed), every
// variant run on every number in turn in one process (so that the load hits
// all alike), the CPU time of each number's best of two runs, averaged. The
// rows kept, with the next best variants (fb/interval/lpMult/fudge: ms):
//    64: 90/8K/30/17 0.178   72/16K/30/17 0.180   90/16K/30/17 0.184
//    72: 110/16K/30/18 0.232   136/16K/30/18 0.233   110/32K/30/18 0.240
//    80: 112/16K/40/22 0.358   140/16K/40/19 0.359   140/32K/40/19 0.365
//    88: 180/16K/40/20 0.541   144/16K/40/23 0.558   180/32K/40/20 0.576
//    96: 230/16K/50/24 1.115   280/16K/50/21 1.119   230/32K/50/21 1.150 (about)
//   104: 240/16K/50/25 1.930   300/16K/50/22 1.967   300/32K/50/22 2.003 (about)
//   112: 380/16K/60/26 3.378   304/16K/60/26 3.435   380/32K/60/26 3.580
//   120: 384/16K/60/27 5.666   384/16K/60/30 5.713   480/16K/60/27 5.791
//   128: 480/32K/64/28 8.911   480/16K/64/31 9.013   600/32K/64/28 9.555
// The landscape is flat: the best few variants of a size lie within a few
// per cent, about the noise of the machine. Also tried at 128 bits, none
// better: lpMult 150 and 300 (fudge 26 to 32), skipBelow 60, 100 and 160
// (fudge raised with it), fb 750, and a threshold computed per 2 KB of the
// interval from the largest |Q(x)| there (1-2 % fewer polynomials, no gain).
// The rows up to 56 bits scale the 64-bit row down (below 64 bits the run is
// mostly fixed costs: 0.14 to 0.19 ms).
#pragma once

#include <cstdint>

namespace factoring::siqs {

struct Params {
    uint16_t bits;      // the row serves n of up to this many bits
    uint16_t fbSize;
    uint32_t interval;
    uint16_t lpMult;
    uint16_t fudge;
    uint16_t skipBelow;
};

inline constexpr Params kParams[] = {
    {40, 40, 8192, 16, 14, 30},     {48, 56, 8192, 20, 15, 30},     {56, 70, 8192, 24, 16, 30},
    {64, 90, 8192, 30, 17, 30},     {72, 110, 16384, 30, 18, 30},   {80, 140, 16384, 40, 20, 30},
    {88, 180, 16384, 40, 20, 30},   {96, 230, 16384, 50, 24, 30},   {104, 240, 16384, 50, 25, 30},
    {112, 380, 16384, 60, 26, 30},  {120, 384, 16384, 60, 27, 30},  {128, 480, 32768, 64, 28, 30},
};

// The row for n of `bits` bits: the first whose size is at least that.
inline const Params& paramsFor(int bits) {
    for (const Params& p : kParams)
        if (p.bits >= bits) return p;
    return kParams[sizeof kParams / sizeof kParams[0] - 1];
}

}  // namespace factoring::siqs
