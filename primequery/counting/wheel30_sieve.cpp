#include "primequery/counting/wheel30_sieve.h"

#include <cstring>

#include "primequery/counting/wheel30.h"

namespace counting {

CrossState startCrossing(uint64_t p, uint64_t from, uint64_t kMin) {
    uint64_t k = from / p + (from % p != 0);
    if (k < kMin) k = kMin;
    const unsigned rest = static_cast<unsigned>(k % 30);
    unsigned w = 0;
    while (kResidue[w] < rest) ++w;
    const unsigned __int128 multiple = static_cast<unsigned __int128>(p) * (k - rest + kResidue[w]);
    return {static_cast<uint64_t>(multiple / 30), static_cast<uint32_t>(p / 30),
            kBitOf[p % 30], static_cast<uint8_t>(w)};
}

void presieve(uint8_t* segment, uint64_t byteLo, uint64_t byteHi) {
    uint64_t phase = byteLo % detail::kPatternBytes;
    for (uint64_t at = 0, bytes = byteHi - byteLo; at < bytes;) {
        const uint64_t take = bytes - at < detail::kPatternBytes ? bytes - at : detail::kPatternBytes;
        std::memcpy(segment + at, detail::kPattern.data() + phase, take);
        at += take;
        phase = (phase + take) % detail::kPatternBytes;
    }
}

void crossOff(uint8_t* segment, uint64_t byteLo, uint64_t byteHi, CrossState& state) {
    forEachMultiple(byteLo, byteHi, state,
              [segment](uint64_t at, unsigned bit) { segment[at] &= static_cast<uint8_t>(~(1u << bit)); });
}

void crossOffCounted(uint8_t* segment, uint64_t byteLo, uint64_t byteHi, CrossState& state, uint32_t* counters,
                     unsigned chunkShift, uint64_t* total) {
    uint64_t removed = 0;
    forEachMultiple(byteLo, byteHi, state, [&](uint64_t at, unsigned bit) {
        const unsigned was = (segment[at] >> bit) & 1u;
        segment[at] &= static_cast<uint8_t>(~(1u << bit));
        counters[at >> chunkShift] -= was;
        removed += was;
    });
    *total -= removed;
}

void fixFirstByte(uint8_t* segment, uint64_t byteLo) {
    // 1 is no prime; 7, 11 and 13 are, though the pattern cleared them.
    if (byteLo == 0) segment[0] = static_cast<uint8_t>((segment[0] & ~1u) | 0x0Eu);
}

PrimeSegments::PrimeSegments(const uint32_t* primes, uint64_t count, CrossState* states, uint64_t firstByte)
    : primes_(primes), count_(count), states_(states), first_(0), started_(0), from_(firstByte) {
    while (first_ < count_ && primes_[first_] <= 13) ++first_;
    started_ = first_;
}

void PrimeSegments::sieve(uint8_t* segment, uint64_t byteLo, uint64_t byteHi) {
    presieve(segment, byteLo, byteHi);
    const unsigned __int128 end = static_cast<unsigned __int128>(byteHi) * 30;
    while (started_ < count_ && static_cast<uint64_t>(primes_[started_]) * primes_[started_] < end) {
        const uint64_t p = primes_[started_];
        const uint64_t lo = from_ * 30;
        states_[started_ - first_] = startCrossing(p, p * p > lo ? p * p : lo, 1);
        ++started_;
    }
    for (uint64_t i = first_; i < started_; ++i) crossOff(segment, byteLo, byteHi, states_[i - first_]);
    fixFirstByte(segment, byteLo);
}

uint64_t countBits(const uint8_t* segment, uint64_t words) {
    uint64_t total = 0;
    for (uint64_t i = 0; i < words; ++i) {
        uint64_t w;
        std::memcpy(&w, segment + 8 * i, 8);
        total += popcount64(w);
    }
    return total;
}

}  // namespace counting
