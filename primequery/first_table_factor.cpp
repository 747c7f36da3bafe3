#include "primequery/first_table_factor.h"

#include "primequery/prime_walk.h"

namespace primequery {

uint64_t firstTableFactor(const TableBlock* head, u128 c, uint64_t from, uint64_t limit) {
    PrimeWalk walk(head);
    for (uint64_t p = walk.nextFrom(from); p != 0 && p <= limit; p = walk.next()) {
        if (square(p) > c) return 0;
        if (hi64(c) == 0 ? lo64(c) % p == 0 : mod64(c, p) == 0) return p;
    }
    return 0;
}

}  // namespace primequery
