// Factor searches with the table's primes, sped up by Miller–Rabin and
// Pollard's rho where they provably give the same answers (internal, C++).
#pragma once

#include <cstdint>

#include "numlib/m0_utilities/u128.h"
#include "primetable/table_words.h"

namespace primequery {

using namespace wordmath;

// The first table prime p with from <= p <= limit and p^2 <= c that divides
// c, or 0 when there is none. Costs one division per table prime tried.
uint64_t firstTableFactor(const TableBlock* head, u128 c, uint64_t from, uint64_t limit);

// Whether c is prime, for 2 <= c < E^2 (E the table's limit): a composite
// c below E^2 has a prime factor below E, hence one in the table, so a
// Miller–Rabin "probable prime" is confirmed by trial division up to sqrt(c).
bool isPrimeBelowLimitSquare(const TableBlock* head, u128 c);

// The prime factors of c that do not exceed `limit` (limit <= P, the table's
// largest prime), for a c without prime factors below `from`.
struct FactorSplit {
    u128 primes[128];  // prime factors found, with multiplicity, in no order;
                       // may include primes above limit
    unsigned count;
    u128 rest;         // the product of the pieces left unsplit: every prime
                       // factor of rest exceeds limit (1 when none)
};
void splitFactors(const TableBlock* head, u128 c, uint64_t from, uint64_t limit, FactorSplit* out);

}  // namespace primequery
