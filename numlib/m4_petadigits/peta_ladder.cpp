// The power ladder of the decimal conversions (see peta_ladder.h).
#include "numlib/m4_petadigits/peta_ladder.h"

#include "numlib/m1_wordarrays/mul_methods.h"
#include "numlib/m1_wordarrays/wordops.h"
#include "q64/m3_petapowers.h"
#include "numlib/m3_petapowers/peta_sizes.h"

namespace m4 {
namespace {

// The rungs that come from the constant table (P_5 = (10^16)^32 is its last
// entry).
constexpr unsigned kTableRungs = 6;

// Each slot has one word more than its rung, for the square's word in front.
uint64_t slotWords(unsigned k) { return peta::reducedLength(uint64_t{1} << k) + 1; }

}  // namespace

unsigned topRungFor(uint64_t d) {
    unsigned k = 0;
    while (k < Ladder::kMaxTop && (uint64_t{2} << k) < d) ++k;
    return k;
}

uint64_t ladderWords(unsigned top) {
    uint64_t words = 0;
    for (unsigned k = 0; k <= top; ++k) words += slotWords(k);
    return words;
}

void buildLadder(Ladder& ladder, uint64_t* block, unsigned top, bool normalised) {
    ladder.top = top;
    uint64_t* slot = block;
    for (unsigned k = 0; k <= top; ++k) {
        Rung& rung = ladder.rung[k];
        uint64_t* p = slot;
        if (k < kTableRungs) {
            const uint64_t* entry = _3_peta(uint64_t{1} << k);
            rung.n = entry[-1] & 0x7FFFFFFFu;
            m1::copy(p, entry, rung.n);
            rung.zeros = (uint64_t{1} << k) / 4;
        } else {
            const Rung& below = ladder.rung[k - 1];
            m1::sqrWithStack(p, below.p, below.n);
            rung.n = 2 * below.n;
            rung.zeros = 2 * below.zeros;
            if (p[0] == 0) {
                ++p;
                --rung.n;
            }
        }
        rung.p = p;
        rung.shift = 0;
        slot += slotWords(k);
    }
    if (!normalised) return;
    for (unsigned k = 0; k <= top; ++k) {
        Rung& rung = ladder.rung[k];
        rung.shift = static_cast<unsigned>(__builtin_clzll(rung.p[0]));
        if (rung.shift != 0) m1::shiftLeft(rung.p, rung.p, rung.n, rung.shift);
    }
}

}  // namespace m4
