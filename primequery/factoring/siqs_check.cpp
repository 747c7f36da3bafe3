// Candidate checks of the quadratic sieve: Q(x) at a candidate is divided by
// 2, by the primes of a, and by the factor base primes whose roots hit the
// sieve index (no other prime can divide it); what stays must be 1 or a
// large prime below the bound.
#include "primequery/factoring/siqs_work.h"

namespace factoring::siqs {
namespace {

inline constexpr int kMaxFactors = 128;  // |Q(x)| < 2^96 has fewer odd prime factors

// Divides v by the factor base prime j as often as it goes, noting each.
inline void divideOut(const FactorBase& fb, uint32_t j, u128& v, uint16_t* factors, int& count) {
    while (v * fb.inverse[j] <= fb.limit[j]) {
        v *= fb.inverse[j];
        factors[count++] = static_cast<uint16_t>(j);
    }
}

}  // namespace

void checkCandidate(Work& w, uint32_t i) {
    const FactorBase& fb = w.fb;
    const Polynomial& P = w.poly;
    const int64_t x = static_cast<int64_t>(i) - P.half;
    const i128 q = (static_cast<i128>(P.a) * x + 2 * P.b) * x + P.c;
    if (q == 0) return;
    u128 v = static_cast<u128>(q < 0 ? -q : q);
    const int twos = wordmath::ctz128(v);
    v >>= twos;
    uint16_t factors[kMaxFactors];
    int count = 0;
    for (int l = 0; l < P.s; ++l) {
        factors[count++] = static_cast<uint16_t>(P.aIndex[l]);  // the factor a of a Q(x)
        divideOut(fb, P.aIndex[l], v, factors, count);
    }
    for (uint32_t j = 1; j < fb.count; ++j) {
        const uint32_t r = i % fb.prime[j];
        if (r == P.root1[j] || r == P.root2[j]) divideOut(fb, j, v, factors, count);
    }
    uint64_t large = 1;
    if (v != 1) {
        if (v >= w.rs.largeBound) return;
        large = static_cast<uint64_t>(v);
    }
    const i128 y = static_cast<i128>(P.a) * x + P.b;
    storeRelation(w, static_cast<u128>(y < 0 ? -y : y) % w.n, q < 0, twos, factors, count, large);
}

}  // namespace factoring::siqs
