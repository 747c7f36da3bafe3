#include "q64/m0_utilities.h"

#include "profiler/hook.h"

namespace {

// Sums over halving widths: bits, pairs, nibbles, then the eight bytes.
inline uint64_t setBits(uint64_t x) {
    x = (x & 0x5555555555555555u) + ((x >> 1) & 0x5555555555555555u);
    x = (x & 0x3333333333333333u) + ((x >> 2) & 0x3333333333333333u);
    x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0Fu;
    return (x * 0x0101010101010101u) >> 56;
}

uint64_t clearBitsPortable(const uint64_t* words, uint64_t n) {
    uint64_t total = 0;
    for (uint64_t i = 0; i < n; ++i) total += setBits(~words[i]);
    return total;
}

#if defined(__x86_64__)
// The statistics count whole tables of up to some hundred million words; the
// hardware count is several times faster than the portable sums.
__attribute__((target("popcnt"))) uint64_t clearBitsPopcnt(const uint64_t* words, uint64_t n) {
    uint64_t total = 0;
    for (uint64_t i = 0; i < n; ++i) total += static_cast<uint64_t>(__builtin_popcountll(~words[i]));
    return total;
}

// One load and test of the CPU model the run-time filled in at start (no
// guarded static, so a static link needs no C++ run-time for it).
bool hasPopcnt() { return __builtin_cpu_supports("popcnt"); }
#endif

}  // namespace

extern "C" uint64_t _0_bitoncnt(uint64_t word) {
    PRF_ENTER(_0_bitoncnt);
    return setBits(word);
}

extern "C" uint64_t _0_bitoffcnt(uint64_t word) {
    PRF_ENTER(_0_bitoffcnt);
    return _0_bitoncnt(~word);
}

extern "C" uint64_t _0_bitcnt0(const uint64_t* words, uint64_t n) {
    PRF_ENTER(_0_bitcnt0);
#if defined(__x86_64__)
    if (hasPopcnt()) return clearBitsPopcnt(words, n);
#endif
    return clearBitsPortable(words, n);
}
