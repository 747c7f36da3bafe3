#include "primetable/interval/segment_bits.h"

#include "primetable/clear_bits.h"
#include "primetable/sieve_stream.h"

namespace interval {

uint64_t countClear(const uint8_t* seg, uint64_t from, uint64_t to) {
    if (from >= to) return 0;
    const uint64_t first = from / 64;
    const uint64_t last = (to - 1) / 64;
    const uint64_t head = ~uint64_t{0} >> (from % 64);
    const uint64_t tail = ~uint64_t{0} << (63 - (to - 1) % 64);
    const uint64_t firstWord = ~sieve::streamWord(seg + 8 * first);
    if (first == last) return static_cast<uint64_t>(__builtin_popcountll(firstWord & head & tail));
    uint64_t n = static_cast<uint64_t>(__builtin_popcountll(firstWord & head)) +
                 static_cast<uint64_t>(__builtin_popcountll(~sieve::streamWord(seg + 8 * last) & tail));
    // The order of a word's bytes does not change how many of its bits are clear.
    return n + table::clearBits(reinterpret_cast<const uint64_t*>(seg) + first + 1, last - first - 1);
}

}  // namespace interval
