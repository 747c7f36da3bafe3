// The powers P_k = 10^(16 * 2^k) at which the divide-and-conquer decimal
// conversions split numbers (internal, C++ only).
//
// Each rung holds P_k in the reduced form of module _3_: the floor(2^k / 4)
// zero words that end P_k are left out. Rungs 0 to 5 are copies of the
// constant table (_3_peta); each higher rung is the square of the one below
// (the zero words double with it). In a normalised ladder every rung is
// shifted left until its top bit is set, as the division needs it.
#pragma once

#include <cstdint>

namespace m4 {

// P_k = (p[0..n-1] >> shift) * 2^(64 zeros); p[0] != 0.
struct Rung {
    uint64_t* p;
    uint64_t n;
    uint64_t zeros;
    unsigned shift;
};

struct Ladder {
    static constexpr unsigned kMaxTop = 40;
    Rung rung[kMaxTop + 1];
    unsigned top;
};

// The highest rung worth splitting a number of d peta digits at: the
// largest k with 2^k < d (d >= 2).
unsigned topRungFor(uint64_t d);
// Words of the block that holds rungs 0..top (top <= Ladder::kMaxTop).
uint64_t ladderWords(unsigned top);
// Builds rungs 0..top into block (ladderWords(top) words). The squarings
// take work memory from the working stack when it has room (none is needed
// otherwise); the stack is as before on return.
void buildLadder(Ladder& ladder, uint64_t* block, unsigned top, bool normalised);

}  // namespace m4
