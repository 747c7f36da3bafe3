#include "primequery/counting/pi_table.h"

#include <cstring>

#include "primequery/counting/counting_tuning.h"
#include "primequery/counting/parallel_pieces.h"
#include "primequery/counting/wheel30_sieve.h"

namespace counting {

const uint32_t* smallPrimes(uint64_t* count) {
    static uint32_t primes[6542];
    static bool made = false;
    if (!made) {
        static uint8_t composite[1u << 16];
        uint64_t n = 0;
        for (uint32_t i = 2; i < (1u << 16); ++i) {
            if (composite[i]) continue;
            primes[n++] = i;
            for (uint32_t j = i * i; j < (1u << 16); j += i) composite[j] = 1;
        }
        made = true;
    }
    *count = 6542;
    return primes;
}

bool PiTable::build(uint64_t limit, CountingMemory& memory, unsigned threads) {
    const uint64_t words = limit / 240 + 1;
    entries_ = memory.take<PiEntry>(words);
    limit_ = limit;
    uint64_t primeCount;
    const uint32_t* primes = smallPrimes(&primeCount);
    uint64_t sieving = 0;
    while (sieving < primeCount && static_cast<uint64_t>(primes[sieving]) * primes[sieving] <= limit + 240)
        ++sieving;
    const uint64_t segmentWords = kPrimeSegmentBytes / 8;
    const uint64_t pieceWords = segmentWords * 16;
    const uint64_t pieces = (words + pieceWords - 1) / pieceWords;
    uint8_t* buffers = memory.take<uint8_t>(static_cast<uint64_t>(threads) * kPrimeSegmentBytes);
    CrossState* states = memory.take<CrossState>(static_cast<uint64_t>(threads) * (sieving + 1));
    if (entries_ == nullptr || buffers == nullptr || states == nullptr) return false;
    const bool whole = forEachPiece(pieces, threads, [&](uint64_t piece, unsigned worker) {
        uint8_t* buffer = buffers + static_cast<uint64_t>(worker) * kPrimeSegmentBytes;
        const uint64_t first = piece * pieceWords;
        const uint64_t last = first + pieceWords < words ? first + pieceWords : words;
        PrimeSegments segments(primes, sieving, states + static_cast<uint64_t>(worker) * (sieving + 1), first * 8);
        for (uint64_t w = first; w < last; w += segmentWords) {
            const uint64_t n = last - w < segmentWords ? last - w : segmentWords;
            segments.sieve(buffer, w * 8, (w + n) * 8);
            for (uint64_t i = 0; i < n; ++i) std::memcpy(&entries_[w + i].bits, buffer + 8 * i, 8);
        }
    });
    if (!whole) return false;
    // Nothing above the limit.
    const unsigned r = static_cast<unsigned>(limit % 240);
    entries_[words - 1].bits &= wordMaskUpTo(r / 30, r % 30);
    uint64_t count = 3;
    for (uint64_t w = 0; w < words; ++w) {
        entries_[w].count = count;
        count += popcount64(entries_[w].bits);
    }
    return true;
}

uint64_t PiTable::primeAtOrBelow(uint64_t v) const {
    uint64_t w = v / 240;
    const unsigned r = static_cast<unsigned>(v % 240);
    uint64_t bits = entries_[w].bits & wordMaskUpTo(r / 30, r % 30);
    while (bits == 0) {
        if (w == 0) return 0;
        bits = entries_[--w].bits;
    }
    const unsigned bit = 63 - static_cast<unsigned>(__builtin_clzll(bits));
    return 240 * w + 30 * (bit / 8) + kResidue[bit % 8];
}

uint64_t PiTable::primeAbove(uint64_t v) const {
    ++v;
    uint64_t w = v / 240;
    const uint64_t words = limit_ / 240 + 1;
    const unsigned r = static_cast<unsigned>(v % 240);
    if (w >= words) return 0;
    uint64_t bits = entries_[w].bits & ~(r == 0 ? 0 : wordMaskUpTo((r - 1) / 30, (r - 1) % 30));
    while (bits == 0) {
        if (++w >= words) return 0;
        bits = entries_[w].bits;
    }
    const unsigned bit = static_cast<unsigned>(__builtin_ctzll(bits));
    return 240 * w + 30 * (bit / 8) + kResidue[bit % 8];
}

uint64_t PiTable::listPrimes(uint64_t upTo, uint32_t* primes) const {
    static constexpr uint32_t kFirst[3] = {2, 3, 5};
    uint64_t n = 0;
    primes[0] = 0;
    for (uint32_t p : kFirst)
        if (p <= upTo) primes[++n] = p;
    for (uint64_t w = 0; w <= upTo / 240; ++w) {
        for (uint64_t bits = entries_[w].bits; bits != 0; bits &= bits - 1) {
            const unsigned bit = static_cast<unsigned>(__builtin_ctzll(bits));
            const uint64_t p = 240 * w + 30 * (bit / 8) + kResidue[bit % 8];
            if (p > upTo) return n;
            primes[++n] = static_cast<uint32_t>(p);
        }
    }
    return n;
}

}  // namespace counting
