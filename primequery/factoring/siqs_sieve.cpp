// The sieve of the quadratic sieve: over the interval [-M, M) (one block of
// at most 32 KB), each prime from the first sieved one adds its rounded log2
// at the indices of its two roots; the bytes that reach 128 (the start value
// is 128 less the threshold) are the candidates.
#include <cstring>

#include "primequery/factoring/siqs_work.h"

namespace factoring::siqs {
namespace {

inline constexpr uint64_t kHighBits = 0x8080808080808080ULL;

// Adds lg at r1, r2, r1 + p, r2 + p, ... below len, both roots in one loop.
inline void sievePrime(uint8_t* sieve, uint32_t len, uint32_t p, uint8_t lg, uint32_t r1, uint32_t r2) {
    if (r1 > r2) {
        const uint32_t t = r1;
        r1 = r2;
        r2 = t;
    }
    const uint32_t diff = r2 - r1;
    uint8_t* s = sieve + r1;
    uint8_t* const end = sieve + len;
    if (diff < len) {
        for (uint8_t* const stop = end - diff; s < stop; s += p) {
            s[0] += lg;
            s[diff] += lg;
        }
    }
    if (s < end) *s += lg;
}

// Hands the indices of the bytes with the high bit set to checkCandidate,
// looking at 64 bytes at a time (candidates are rare).
void scan(Work& w, uint32_t len) {
    static_assert(kMaxInterval % 64 == 0);
    const uint8_t* sieve = w.sieve;
    for (uint32_t o = 0; o < len; o += 64) {
        uint64_t v[8];
        std::memcpy(v, sieve + o, sizeof v);
        if (((v[0] | v[1] | v[2] | v[3] | v[4] | v[5] | v[6] | v[7]) & kHighBits) == 0) continue;
        for (uint32_t k = 0; k < 64; ++k)
            if (sieve[o + k] & 0x80) checkCandidate(w, o + k);
    }
}

}  // namespace

void sievePolynomial(Work& w) {
    const FactorBase& fb = w.fb;
    const Polynomial& P = w.poly;
    const uint32_t len = P.interval;
    std::memset(w.sieve, w.sieveInit, len);
    for (uint32_t j = fb.firstSieved; j < fb.count; ++j)
        if (P.root1[j] != kNoRoot) sievePrime(w.sieve, len, fb.prime[j], fb.logp[j], P.root1[j], P.root2[j]);
    scan(w, len);
}

}  // namespace factoring::siqs
