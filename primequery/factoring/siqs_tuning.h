// Parameters of the self-initialising quadratic sieve by the size of n
// (internal, C++ only). They change speed only, never a result.
//
// fbSize: primes of the factor base (2 and the primes p with kN a square
// mod p, up to the count); interval: the sieve interval [-M, M) in bytes
// (2M, at most 32 KB); lpMult: the large-prime bound as a
// multiple of the factor base's largest prime; fudge: bits below the log2 of
// the largest |Q(x)| at which a sieve value makes a candidate; skipBelow: the
// primes below it are not sieved (they hit often and add little to the log).
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
    {40, 40, 8192, 16, 14, 30},      {48, 56, 8192, 20, 15, 30},      {56, 70, 16384, 24, 16, 30},
    {64, 90, 16384, 30, 17, 30},     {72, 110, 32768, 30, 18, 30},    {80, 140, 32768, 40, 19, 30},
    {88, 180, 32768, 40, 20, 30},    {96, 230, 32768, 50, 21, 30},    {104, 300, 32768, 50, 22, 30},
    {112, 380, 32768, 60, 23, 30},   {120, 480, 32768, 60, 24, 30},   {128, 600, 32768, 64, 28, 30},
};

// The row for n of `bits` bits: the first whose size is at least that.
inline const Params& paramsFor(int bits) {
    for (const Params& p : kParams)
        if (p.bits >= bits) return p;
    return kParams[sizeof kParams / sizeof kParams[0] - 1];
}

}  // namespace factoring::siqs
