// One count of pi(x) by the combinatorial method of Deleglise and Rivat
// (internal, C++ only):
//
//   pi(x) = phi(x, a) + a - 1 - P2(x, a),  y = alpha x^(1/3), a = pi(y),
//   phi(x, a) = S1 + S2,
//
// S1 the ordinary leaves mu(m) phi(x / m, c) (m <= y squarefree, its least
// prime factor above p_c), S2 the special leaves -mu(m) phi(x / (p_b m),
// b - 1) for c < b <= a, m <= y < m p_b, lpf(m) > p_b. A special leaf with
// m = q prime is trivial (phi = 1) when x / (p q) < p, easy (phi =
// pi(x / (p q)) - b + 2) below p^2, and hard otherwise, as are those with
// composite m: the hard ones are counted in a sieve of [1, x / y].
#pragma once

#include <cstdint>

#include "primequery/counting/counting_memory.h"
#include "primequery/counting/pi_table.h"

namespace counting {

using Wide = __int128;

// c, and p_c: phi(v, c) comes from one period of 2*3*5*7*11*13 = 30030.
inline constexpr uint64_t kC = 6;
inline constexpr int64_t kPrimeC = 13;

// A value of the factor table for a number m prime to 30: 0 when m is not
// squarefree, else mu(m) times its least prime factor (kNoFactor for 1).
inline constexpr int32_t kNoFactor = 0x7FFFFFFF;

// floor(a / b), b > 0: by the floating-point divider where a < 2^53 (its
// quotient is then never below the true one and at most 1 above it), which
// takes a fraction of the time of a 64-bit integer division.
inline uint64_t divide(uint64_t a, uint64_t b) {
    if (a >= (uint64_t{1} << 53)) return a / b;
    uint64_t n = static_cast<uint64_t>(static_cast<double>(a) / static_cast<double>(b));
    return n * b > a ? n - 1 : n;
}

// floor(a / q) from 1 / q (the reciprocal of prime q of the list) for a
// below 2^52: the product is within 1 of the quotient, which one step fixes.
inline uint64_t divideByReciprocal(uint64_t a, uint64_t q, double reciprocal) {
    uint64_t n = static_cast<uint64_t>(static_cast<double>(a) * reciprocal);
    if (n * q > a) return n - 1;
    return (n + 1) * q <= a ? n + 1 : n;
}

// Below this a dividend may use divideByReciprocal.
inline constexpr uint64_t kReciprocalLimit = uint64_t{1} << 52;

struct CountingPlan {
    uint64_t x = 0;
    uint64_t y = 0;       // alpha x^(1/3), at least floor(x^(1/3)) + 1
    uint64_t z = 0;       // x / y
    uint64_t root = 0;    // floor(sqrt(x))
    uint64_t a = 0;       // pi(y)
    unsigned threads = 1;
    PiTable pi;           // pi(v) for v <= root
    uint32_t* primes;     // primes[1 .. a + 1] (the one after y when <= root)
    uint64_t primeCount;
    double* reciprocals;  // 1.0 / primes[i]
    int32_t* factors;     // for the wheel indices of 1 .. y
    CountingMemory memory;
};

// The terms; each false when memory was refused or the progress hook
// stopped the run.
bool buildFactorTable(CountingPlan& plan);
bool ordinaryLeaves(CountingPlan& plan, Wide& sum);
bool easyLeaves(CountingPlan& plan, Wide& sum);
bool hardLeaves(CountingPlan& plan, Wide& sum);
bool secondPartialSieve(CountingPlan& plan, Wide& p2);

// phi(v, c).
uint64_t phiSmall(uint64_t v);

// The number of primes <= x for x below kDirectLimit, by a plain sieve.
uint64_t countDirectly(uint64_t x);

}  // namespace counting
