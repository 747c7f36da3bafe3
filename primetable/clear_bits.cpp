#include "primetable/clear_bits.h"

namespace table {
namespace {

[[gnu::always_inline]] inline uint64_t countClear(const uint64_t* words, uint64_t n) {
    uint64_t a = 0, b = 0;
    uint64_t i = 0;
    for (; i + 2 <= n; i += 2) {
        a += static_cast<uint64_t>(__builtin_popcountll(~words[i]));
        b += static_cast<uint64_t>(__builtin_popcountll(~words[i + 1]));
    }
    if (i < n) a += static_cast<uint64_t>(__builtin_popcountll(~words[i]));
    return a + b;
}

__attribute__((target("popcnt"))) uint64_t countClearPopcnt(const uint64_t* words, uint64_t n) {
    return countClear(words, n);
}

uint64_t countClearPortable(const uint64_t* words, uint64_t n) { return countClear(words, n); }

// Asked once, at load (before any worker thread runs).
const bool hasPopcnt = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("popcnt") != 0;
}();

}  // namespace

uint64_t clearBits(const uint64_t* words, uint64_t n) {
    return hasPopcnt ? countClearPopcnt(words, n) : countClearPortable(words, n);
}

}  // namespace table
