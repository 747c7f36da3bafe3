// The sieve of the quadratic sieve: over [-M, M) one 32 KB block at a time,
// each prime from the first sieved one adds its rounded log2 at the indices of
// its two roots; the bytes that reach 128 (the start value is 128 less the
// threshold) are the candidates.
#include <cstring>

#include "primequery/factoring/siqs_work.h"

namespace factoring::siqs {
namespace {

inline constexpr uint64_t kHighBits = 0x8080808080808080ULL;

// Adds log p at the indices r, r + p, ... below end of the block starting at
// index start; returns the first index at or past end.
inline uint32_t sieveRoot(uint8_t* sieve, uint32_t r, uint32_t p, uint8_t lg, uint32_t start, uint32_t end) {
    for (; r < end; r += p) sieve[r - start] += lg;
    return r;
}

void sieveBlock(Work& w, uint32_t start, uint32_t end) {
    const FactorBase& fb = w.fb;
    Polynomial& P = w.poly;
    uint8_t* sieve = w.sieve;
    std::memset(sieve, w.sieveInit, end - start);
    for (uint32_t j = fb.firstSieved; j < fb.count; ++j) {
        const uint32_t p = fb.prime[j];
        const uint8_t lg = fb.logp[j];
        P.next1[j] = sieveRoot(sieve, P.next1[j], p, lg, start, end);
        P.next2[j] = sieveRoot(sieve, P.next2[j], p, lg, start, end);
    }
}

void scanBlock(Work& w, uint32_t start, uint32_t end) {
    const uint8_t* sieve = w.sieve;
    for (uint32_t o = 0; o < end - start; o += 8) {
        uint64_t v;
        std::memcpy(&v, sieve + o, 8);
        if ((v & kHighBits) == 0) continue;
        for (uint32_t k = 0; k < 8; ++k)
            if (sieve[o + k] & 0x80) checkCandidate(w, start + o + k);
    }
}

}  // namespace

void sievePolynomial(Work& w) {
    Polynomial& P = w.poly;
    std::memcpy(P.next1, P.root1, sizeof(uint32_t) * w.fb.count);
    std::memcpy(P.next2, P.root2, sizeof(uint32_t) * w.fb.count);
    for (uint32_t start = 0; start < P.interval; start += kBlockBytes) {
        uint32_t end = start + kBlockBytes < P.interval ? start + kBlockBytes : P.interval;
        sieveBlock(w, start, end);
        scanBlock(w, start, end);
    }
}

}  // namespace factoring::siqs
