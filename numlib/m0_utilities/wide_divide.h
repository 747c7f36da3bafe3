// One 128-by-64-bit division, for the library's own routines (C++ only).
#pragma once

#include <cstdint>

namespace wide {

// (hi * 2^64 + lo) div d, with hi < d (so the quotient fits a word); the
// remainder goes to *rem. One hardware division on x86-64.
inline uint64_t divide(uint64_t hi, uint64_t lo, uint64_t d, uint64_t* rem) {
#if defined(__x86_64__)
    uint64_t q, r;
    __asm__("divq %4" : "=a"(q), "=d"(r) : "a"(lo), "d"(hi), "rm"(d) : "cc");
    *rem = r;
    return q;
#else
    unsigned __int128 n = (static_cast<unsigned __int128>(hi) << 64) | lo;
    *rem = static_cast<uint64_t>(n % d);
    return static_cast<uint64_t>(n / d);
#endif
}

}  // namespace wide
