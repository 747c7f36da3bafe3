// The sieve of the quadratic sieve: over [-M, M) one 32 KB block at a time,
// each prime from the first sieved one adds its rounded log2 at the indices of
// its two roots; the bytes that reach 128 (the start value is 128 less the
// threshold) are the candidates.
#include <cstring>

#include "primequery/factoring/siqs_work.h"

namespace factoring::siqs {
namespace {

inline constexpr uint64_t kHighBits = 0x8080808080808080ULL;

// Adds log p at both roots' indices in the block of `len` bytes; the roots
// are kept relative to the block's start and come out relative to the next.
inline void sievePrime(uint8_t* sieve, uint32_t len, uint32_t p, uint8_t lg, uint32_t& next1, uint32_t& next2) {
    uint32_t r1 = next1, r2 = next2;
    if (r1 > r2) {
        uint32_t t = r1;
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
    r2 = static_cast<uint32_t>(s - sieve) + diff;  // past the block now
    if (s < end) {
        *s += lg;
        s += p;
    }
    next1 = static_cast<uint32_t>(s - sieve) - len;
    next2 = r2 - len;
}

void sieveBlock(Work& w, uint32_t len) {
    const FactorBase& fb = w.fb;
    Polynomial& P = w.poly;
    uint8_t* sieve = w.sieve;
    std::memset(sieve, w.sieveInit, len);
    for (uint32_t j = fb.firstSieved; j < fb.count; ++j)
        if (P.next1[j] != kNoRoot) sievePrime(sieve, len, fb.prime[j], fb.logp[j], P.next1[j], P.next2[j]);
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
        sieveBlock(w, end - start);
        scanBlock(w, start, end);
    }
}

}  // namespace factoring::siqs
