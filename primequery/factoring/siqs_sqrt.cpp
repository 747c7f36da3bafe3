// The square root step of the quadratic sieve: the relations of a dependency
// give Y = prod (a x + b) and X = sqrt(prod a Q(x)) modulo n, with X^2 = Y^2;
// gcd(X - Y, n) splits n unless X = +-Y.
#include <cstring>

#include "numlib/m0_utilities/montgomery.h"
#include "primequery/factoring/siqs_work.h"

namespace factoring::siqs {
namespace {

uint32_t exponents[kMaxFb + 1];  // of the factor base primes, the sign last

void addExponents(const Work& w, const Relation& r) {
    const uint16_t* f = w.rs.pool + r.offset;
    for (uint32_t k = 0; k < r.count; ++k) ++exponents[f[k]];
    exponents[0] += r.twos;
    exponents[w.fb.count] += r.negative;
}

}  // namespace

u128 squareRootFactor(Work& w, const uint64_t* rowSet) {
    const FactorBase& fb = w.fb;
    const RelationStore& rs = w.rs;
    const wordmath::Mont128 mont(w.n);
    std::memset(exponents, 0, sizeof(uint32_t) * (fb.count + 1));
    u128 y = mont.one(), x = mont.one();
    for (uint32_t r = 0; r < rs.rows; ++r) {
        if (!((rowSet[r / 64] >> (r % 64)) & 1)) continue;
        const Relation& first = rs.rel[rs.rowFirst[r]];
        addExponents(w, first);
        y = mont.mul(y, mont.to(first.y));
        if (rs.rowSecond[r] != kNone) {
            const Relation& second = rs.rel[rs.rowSecond[r]];
            addExponents(w, second);
            y = mont.mul(y, mont.to(second.y));
            x = mont.mul(x, mont.to(first.large));  // large^2 over the pair
        }
    }
    for (uint32_t j = 0; j <= fb.count; ++j) {
        if (exponents[j] & 1) {  // a fault upstream; counted, never a wrong factor
            ++w.notSquare;
            return 0;
        }
    }
    for (uint32_t j = 0; j < fb.count; ++j)
        if (exponents[j] != 0) x = mont.mul(x, mont.pow(mont.to(fb.prime[j]), exponents[j] / 2));
    const u128 xs = mont.from(x), ys = mont.from(y);
    const u128 g = wordmath::gcd128(xs >= ys ? xs - ys : ys - xs, w.n);
    return g > 1 && g < w.n ? g : 0;
}

}  // namespace factoring::siqs
