// The work record of the quadratic sieve and the stages that share it
// (internal, C++ only).
//
// One static record holds what a run needs, sized for the largest row of
// the tuning table: the factor base with its square roots and inverses
// (28 KB), the polynomial with its roots and Gray-code steps (48 KB), the
// sieve interval (32 KB), and the relation store with its large-prime index
// (1.4 MB, six times the relations the slowest 128-bit run of the sweeps
// kept); the matrix (100 KB, siqs_matrix.cpp) and the small primes (46 KB,
// siqs_factor_base.cpp) have their own. About 1.7 MB in all, in static
// storage (pages are touched only as far as a run uses them). Not
// reentrant: one run at a time.
#pragma once

#include <cstdint>

#include "numlib/m0_utilities/u128.h"
#include "primequery/factoring/siqs_tuning.h"

namespace factoring::siqs {

using wordmath::u128;
using i128 = __int128;

inline constexpr uint32_t kMaxFb = 512;            // factor base primes, 2 included
// The whole sieve interval is one block of at most the L1 data cache; sieve
// indices and primes below 2^15 let the candidate checks work on 16-bit lanes.
inline constexpr uint32_t kMaxInterval = 32768;
inline constexpr int kMaxAPrimes = 12;             // primes in a
inline constexpr uint32_t kExtraRows = 32;         // relations beyond the columns, per try
inline constexpr int kMaxTries = 4;                // matrix runs before giving up
inline constexpr uint32_t kMaxRows = kMaxFb + 1 + kMaxTries * kExtraRows;
inline constexpr uint32_t kMaxRelations = 16384;   // full and partial relations kept
inline constexpr uint32_t kPoolEntries = kMaxRelations * 20;
inline constexpr uint32_t kMaxFactors = 128;       // odd prime factors of a |Q(x)| below 2^96, and of a
inline constexpr uint32_t kHashSlots = 65536;      // large-prime index, a power of two
inline constexpr int kIndexBits = 15;              // of a large-prime index entry; the rest tags
static_assert(kMaxRelations < (1u << kIndexBits));
inline constexpr uint16_t kNoRoot = 0xFFFF;        // the roots of a's primes: not sieved
inline constexpr uint32_t kMaxUsedA = 4096;

static_assert(kParams[sizeof kParams / sizeof kParams[0] - 1].interval <= kMaxInterval);
static_assert(kParams[sizeof kParams / sizeof kParams[0] - 1].fbSize <= kMaxFb);

// kN as three words: w2 * 2^128 + w.
struct Wide {
    u128 w;
    uint64_t w2;
};

struct FactorBase {
    uint32_t count;            // primes, index 0 is 2
    uint32_t firstSieved;      // smaller indices are not sieved
    uint64_t multiplier;
    Wide kn;
    double log2kn;
    uint32_t prime[kMaxFb];
    alignas(16) uint16_t prime16[kMaxFb];     // the primes again, below 2^15
    uint32_t root[kMaxFb];     // t with t^2 = kN mod p (0 when p divides k)
    uint8_t logp[kMaxFb];      // round(log2 p)
    uint64_t reciprocal[kMaxFb];              // floor((2^64 - 1) / p), for reduce
    alignas(16) uint16_t inverse16[kMaxFb];   // p^-1 mod 2^16
    alignas(16) uint16_t limit16[kMaxFb];     // (2^16 - 1) / p
    u128 inverse[kMaxFb];      // p^-1 mod 2^128, for exact division
    u128 limit[kMaxFb];        // (2^128 - 1) / p: x divisible by p iff x p^-1 <= limit
};

struct Polynomial {
    uint64_t a;
    int s;                            // primes in a
    uint32_t aIndex[kMaxAPrimes];     // their factor base indices
    i128 B[kMaxAPrimes];
    int sign[kMaxAPrimes];            // the sign of B[l] in b
    i128 b, c;                        // Q(x) = a x^2 + 2 b x + c = ((a x + b)^2 - kN) / a
    u128 knDivA;                      // floor(kN / a)
    uint64_t knModA;
    uint32_t bIndex, bCount;          // the Gray code's position and length
    uint32_t half;                    // M: the sieve index i stands for x = i - M
    uint32_t interval;                // 2M
    alignas(16) uint16_t root1[kMaxFb];       // sieve indices mod p of the roots
    alignas(16) uint16_t root2[kMaxFb];
    uint16_t delta[kMaxAPrimes][kMaxFb];      // 2 B_l / a mod p
    uint64_t usedA[kMaxUsedA];
    uint32_t usedCount;
    uint64_t rng;
    uint32_t windowLo, windowHi;      // factor base indices from which a's primes come
};

struct Relation {
    u128 y;              // |a x + b| mod n
    uint64_t large;      // the large prime, 1 for a full relation
    uint32_t offset;     // first factor index in the pool
    uint16_t count;      // factor indices (odd primes, with repetition)
    uint8_t negative;
    uint8_t twos;        // the exponent of 2
};

struct RelationStore {
    uint32_t count;                    // relations kept
    uint32_t poolUsed;
    uint32_t rows;                     // full relations and pairs of partials
    uint32_t fullCount, pairCount;
    uint64_t largeBound;
    uint32_t rowFirst[kMaxRows], rowSecond[kMaxRows];   // relation indices; second kNone for a full
    Relation rel[kMaxRelations];
    uint16_t pool[kPoolEntries];
    // The first partial per large prime: its relation index, tagged with the
    // run's generation (stale tags read as empty, so a run need not clear).
    uint32_t hash[kHashSlots];
    uint32_t generation;
};

inline constexpr uint32_t kNone = 0xFFFFFFFFu;

struct Work {
    u128 n;
    Params params;
    FactorBase fb;
    Polynomial poly;
    RelationStore rs;
    alignas(64) uint8_t sieve[kMaxInterval];
    uint8_t sieveInit;   // a sieve value from 128 on (high bit set) makes a candidate
    uint64_t polys;      // polynomials sieved in this run
    uint64_t candidates; // sieve values past the threshold in this run
    uint64_t retries;    // matrix runs after the first (all runs since start)
    uint64_t notSquare;  // dependencies whose product was no square: a fault (all runs)
};

extern Work work;

// Knuth-Schroeppel multiplier and factor base for work.n: 1 when done, else a
// factor of n met on the way (a factor base prime dividing n).
u128 buildFactorBase(Work& w);

// Chooses the number of primes in a and the factor base window they come
// from, and forgets the a's used so far.
void setupPolynomials(Work& w);
// The first polynomial of a new a; false when no new a could be found.
bool firstPolynomial(Work& w);
// The next b of the same a (Gray code); false when the a is used up.
bool nextPolynomial(Work& w);

// Sieves the interval of the current polynomial and hands the candidates to
// checkCandidate.
void sievePolynomial(Work& w);

// Trial-divides Q at sieve index i with the primes whose roots hit i, and
// keeps the relation when it is smooth (up to one large prime).
void checkCandidate(Work& w, uint32_t i);

// Resets the relation store; the large-prime bound from the factor base.
void clearRelations(Work& w);
// Keeps the relation y^2 = (-1)^negative 2^twos (the factor base primes of
// factors) large (mod n); a full relation or a pair of partials with the same
// large prime makes a row.
void storeRelation(Work& w, u128 y, bool negative, int twos, const uint16_t* factors, int count, uint64_t large);

// Finds the dependencies of the rows and tries them in turn: a factor of n,
// or 0 when none split n.
u128 solveRelations(Work& w);

// The factor that the dependency given as rows (a bit set over the rows)
// yields, or 0.
u128 squareRootFactor(Work& w, const uint64_t* rowSet);

// Modular helpers on the factor base primes (below 2^15): a^-1 mod p for a
// prime to p, and a b mod p for a, b below 2^16.
uint32_t inverseMod(uint32_t a, uint32_t p);
inline uint32_t mulMod(uint32_t a, uint32_t b, uint32_t p) { return a * b % p; }
// x mod p with reciprocal = floor((2^64 - 1) / p): the quotient estimate is
// at most one short.
inline uint32_t reduce(uint64_t x, uint32_t p, uint64_t reciprocal) {
    const uint64_t q = static_cast<uint64_t>((static_cast<u128>(x) * reciprocal) >> 64);
    const uint64_t r = x - q * p;
    return static_cast<uint32_t>(r >= p ? r - p : r);
}

}  // namespace factoring::siqs
