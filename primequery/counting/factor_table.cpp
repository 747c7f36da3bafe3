// The factor table of the leaves: mu(m) and the least prime factor of every
// m <= y prime to 30, one 32-bit value each.
#include "primequery/counting/counting_plan.h"
#include "primequery/counting/wheel30_sieve.h"

namespace counting {

bool buildFactorTable(CountingPlan& plan) {
    const uint64_t entries = wheelCount(plan.y);
    int32_t* f = plan.memory.take<int32_t>(entries + 8);
    if (f == nullptr) return false;
    plan.factors = f;
    for (uint64_t i = 0; i < entries; ++i) f[i] = kNoFactor;
    // The bytes of the wheel bitmap of [0, y]: index = byte * 8 + bit.
    const uint64_t bytes = plan.y / 30 + 1;
    for (uint64_t b = 4; b <= plan.a; ++b) {
        const uint64_t p = plan.primes[b];
        CrossState multiples = startCrossing(p, p, 1);
        forEachMultiple(0, bytes, multiples, [&](uint64_t at, unsigned bit) {
            int32_t& v = f[at * 8 + bit];
            if (v == kNoFactor || v == -kNoFactor)
                v = v > 0 ? -static_cast<int32_t>(p) : static_cast<int32_t>(p);
            else
                v = -v;
        });
        if (p * p > plan.y) continue;
        CrossState squares = startCrossing(p * p, p * p, 1);
        forEachMultiple(0, bytes, squares, [&](uint64_t at, unsigned bit) { f[at * 8 + bit] = 0; });
    }
    return true;
}

}  // namespace counting
