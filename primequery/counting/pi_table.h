// pi(v) for every v up to a limit by one look-up: the wheel bitmap of the
// primes, one 64-bit word per 240 numbers beside the count of the primes
// below it (internal, C++ only).
#pragma once

#include <array>
#include <cstdint>

#include "primequery/counting/counting_memory.h"
#include "primequery/counting/wheel30.h"

namespace counting {

struct PiEntry {
    uint64_t bits;   // the primes among 240 w .. 240 w + 239 (above 5)
    uint64_t count;  // pi(240 w - 1), counting 2, 3 and 5
};

class PiTable {
public:
    // Sieves the table for 0 .. limit (limit < 2^33) on `threads` threads;
    // false when memory was refused or the progress hook stopped it.
    bool build(uint64_t limit, CountingMemory& memory, unsigned threads);

    uint64_t limit() const { return limit_; }

    // pi(v), v <= limit.
    uint64_t pi(uint64_t v) const {
        if (v < 7) return kSmallPi[v];
        const PiEntry& e = entries_[v / 240];
        return e.count + popcount64(e.bits & kMasks240[v % 240]);
    }

    // The largest prime <= v (v <= limit), 0 when none is above 5.
    uint64_t primeAtOrBelow(uint64_t v) const;

    // The smallest prime above v (v >= 5), 0 when none is up to the limit.
    uint64_t primeAbove(uint64_t v) const;

    // Writes the primes up to `upTo` (<= limit) to primes[1 ..] (primes[0]
    // = 0) and returns how many there are.
    uint64_t listPrimes(uint64_t upTo, uint32_t* primes) const;

private:
    static constexpr uint8_t kSmallPi[7] = {0, 0, 1, 2, 2, 3, 3};
    // The bits of a word for the numbers up to r of its 240.
    static constexpr std::array<uint64_t, 240> kMasks240 = [] {
        std::array<uint64_t, 240> masks{};
        for (unsigned r = 0; r < 240; ++r) {
            const unsigned byte = r / 30;
            const uint64_t below = byte == 0 ? 0 : ~uint64_t{0} >> (64 - 8 * byte);
            masks[r] = below | uint64_t{kMaskUpTo[r % 30]} << (8 * byte);
        }
        return masks;
    }();
    PiEntry* entries_ = nullptr;
    uint64_t limit_ = 0;
};

// The primes below 2^16 (6542 of them), the sieving primes of every table
// up to 2^32.
const uint32_t* smallPrimes(uint64_t* count);

}  // namespace counting
