// Candidate checks of the quadratic sieve: Q(x) at a candidate is divided by
// 2, by the primes of a, and by the factor base primes whose roots hit the
// sieve index (no other prime can divide it); what stays must be 1 or a
// large prime below the bound.
#include <cstring>

#include "primequery/factoring/siqs_work.h"

namespace factoring::siqs {
namespace {

// Divides v by the factor base prime j as often as it goes, noting each.
inline void divideOut(const FactorBase& fb, uint32_t j, u128& v, uint16_t* factors, int& count) {
    while (v * fb.inverse[j] <= fb.limit[j]) {
        v *= fb.inverse[j];
        factors[count++] = static_cast<uint16_t>(j);
    }
}

// The factor base indices from 1 on whose primes p have a root at the sieve
// index i, eight primes at a time: p divides i - r iff (i + p - r) p^-1 mod
// 2^16 <= (2^16 - 1) / p, as i + p - r < 2^16. The test may also pass for
// the primes of a (their roots are kNoRoot); divideOut checks every prime.
uint32_t primesHitting(const FactorBase& fb, const Polynomial& P, uint32_t i, uint16_t* hits) {
    typedef uint16_t Lanes __attribute__((vector_size(16)));
    static_assert(kMaxFb % 8 == 0 && kMaxInterval <= 32768);
    const uint16_t at16 = static_cast<uint16_t>(i);
    const Lanes at = {at16, at16, at16, at16, at16, at16, at16, at16};
    uint32_t count = 0;
    for (uint32_t j = 0; j < fb.count; j += 8) {
        Lanes p, inv, lim, r1, r2;
        std::memcpy(&p, fb.prime16 + j, sizeof p);
        std::memcpy(&inv, fb.inverse16 + j, sizeof inv);
        std::memcpy(&lim, fb.limit16 + j, sizeof lim);
        std::memcpy(&r1, P.root1 + j, sizeof r1);
        std::memcpy(&r2, P.root2 + j, sizeof r2);
        const Lanes hit = ((at + p - r1) * inv <= lim) | ((at + p - r2) * inv <= lim);
        uint64_t low, high;
        std::memcpy(&low, &hit, sizeof low);
        std::memcpy(&high, reinterpret_cast<const char*>(&hit) + 8, sizeof high);
        if ((low | high) == 0) continue;
        for (uint32_t k = 0; k < 8; ++k)
            if (hit[k] != 0 && j + k >= 1 && j + k < fb.count) hits[count++] = static_cast<uint16_t>(j + k);
    }
    return count;
}

}  // namespace

void checkCandidate(Work& w, uint32_t i) {
    const FactorBase& fb = w.fb;
    const Polynomial& P = w.poly;
    ++w.candidates;
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
    uint16_t hits[kMaxFb];
    const uint32_t hitCount = primesHitting(fb, P, i, hits);
    for (uint32_t h = 0; h < hitCount; ++h) divideOut(fb, hits[h], v, factors, count);
    uint64_t large = 1;
    if (v != 1) {
        if (v >= w.rs.largeBound) return;
        large = static_cast<uint64_t>(v);
    }
    const i128 y = static_cast<i128>(P.a) * x + P.b;
    storeRelation(w, static_cast<u128>(y < 0 ? -y : y) % w.n, q < 0, twos, factors, count, large);
}

}  // namespace factoring::siqs
