// Parameters of the self-initialising quadratic sieve by the size of n
// (internal, C++ only). They change speed only, never a result.
//
// fbSize: primes of the factor base (2 and the primes p with kN a square
// mod p, up to the count); interval: the sieve interval [-M, M) in bytes
// (2M, a multiple of the 32 KB block); lpMult: the large-prime bound as a
// multiple of the factor base's largest prime; fudge: bits below the log2 of
// the largest |Q(x)| at which a sieve value makes a candidate.
#pragma once

#include <cstdint>

namespace factoring::siqs {

struct Params {
    uint16_t bits;      // the row serves n of up to this many bits
    uint16_t fbSize;
    uint32_t interval;
    uint16_t lpMult;
    uint16_t fudge;
};

inline constexpr Params kParams[] = {
    {40, 40, 8192, 16, 14},      {48, 56, 8192, 20, 15},      {56, 70, 16384, 24, 16},
    {64, 90, 16384, 30, 17},     {72, 110, 32768, 30, 18},    {80, 140, 32768, 40, 19},
    {88, 180, 32768, 40, 20},    {96, 230, 32768, 50, 21},    {104, 300, 65536, 50, 22},
    {112, 380, 65536, 60, 23},   {120, 480, 65536, 60, 24},   {128, 600, 65536, 64, 25},
};

// The row for n of `bits` bits: the first whose size is at least that.
inline const Params& paramsFor(int bits) {
    for (const Params& p : kParams)
        if (p.bits >= bits) return p;
    return kParams[sizeof kParams / sizeof kParams[0] - 1];
}

}  // namespace factoring::siqs
