// Trial division with the table's primes (internal, C++ only).
#pragma once

#include <cstdint>

#include "numlib/m0_utilities/u128.h"
#include "primetable/table_words.h"

namespace primequery {

using namespace wordmath;

// The first table prime p with from <= p <= limit and p^2 <= c that divides
// c, or 0 when there is none. Costs one division per table prime tried.
uint64_t firstTableFactor(const TableBlock* head, u128 c, uint64_t from, uint64_t limit);

}  // namespace primequery
