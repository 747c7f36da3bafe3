// The n-th prime: the prime-count index names the 64 KB segment of the
// bitmap that holds the answer; whole words of it are counted with the
// population count (the hardware instruction where the processor has it),
// four at a time, and only the word holding the answer is searched bit by
// bit. A table the index does not describe is counted from its start.
#include "q64/m5_primequery.h"

#include "primetable/prime_index.h"
#include "primetable/table_words.h"
#include "primetable/wheel.h"
#include "profiler/hook.h"
#include "q64/m0_utilities.h"
#include "q64/m5_primetable.h"

namespace {

[[gnu::always_inline]] inline uint64_t clearBits(uint64_t word) {
    return static_cast<uint64_t>(__builtin_popcountll(~word));
}

// The index of the word of words[0..count-1] that holds the m-th clear bit,
// with m reduced by the clear bits of the words before it; count (m reduced
// by all of them) when there is no such word.
[[gnu::always_inline]] inline uint64_t findWord(const uint64_t* words, uint64_t count, uint64_t* m) {
    uint64_t left = *m;
    uint64_t w = 0;
    for (; w + 4 <= count; w += 4) {
        uint64_t z = clearBits(words[w]) + clearBits(words[w + 1]) + clearBits(words[w + 2]) +
                     clearBits(words[w + 3]);
        if (left <= z) break;
        left -= z;
    }
    for (; w < count; ++w) {
        uint64_t z = clearBits(words[w]);
        if (left <= z) break;
        left -= z;
    }
    *m = left;
    return w;
}

__attribute__((target("popcnt"))) uint64_t findWordPopcnt(const uint64_t* words, uint64_t count, uint64_t* m) {
    return findWord(words, count, m);
}

uint64_t findWordPortable(const uint64_t* words, uint64_t count, uint64_t* m) { return findWord(words, count, m); }

}  // namespace

extern "C" uint64_t _5_prmnoth(uint64_t n, const TableBlock* head) {
    PRF_ENTER(_5_prmnoth);
    if (n == 0) return ~uint64_t{0};
    if (n <= wheel::kSmallPrimeCount) return wheel::smallPrime(n - 1);
    static const bool hasPopcnt = __builtin_cpu_supports("popcnt");
    uint64_t m = n - wheel::kSmallPrimeCount;
    primeindex::Segment segment;
    switch (primeindex::find(head, m, segment)) {
        case primeindex::Lookup::kBeyond:
            return ~uint64_t{0};
        case primeindex::Lookup::kFound: {
            uint64_t left = m - segment.before;
            uint64_t w = hasPopcnt ? findWordPopcnt(segment.words, segment.count, &left)
                                   : findWordPortable(segment.words, segment.count, &left);
            if (w < segment.count) {
                int64_t bit = _0_bitscan0n(segment.words[w], left);
                return _5_postonum(64 * (segment.firstWord + w) + static_cast<uint64_t>(bit)).lo;
            }
            break;  // a segment that disagrees with its count: count from the start
        }
        case primeindex::Lookup::kNotIndexed:
            break;
    }
    for (const TableBlock* block = head; block != nullptr; block = table::nextBlock(block)) {
        const uint64_t* words = block + table::kFirstBitmapWord;
        const uint64_t count = table::bitmapWords(block);
        uint64_t w = hasPopcnt ? findWordPopcnt(words, count, &m) : findWordPortable(words, count, &m);
        if (w < count) {
            int64_t bit = _0_bitscan0n(words[w], m);
            return _5_postonum(64 * (block[table::kBaseWord] + w) + static_cast<uint64_t>(bit)).lo;
        }
    }
    return ~uint64_t{0};
}
