// Reading decimal digits by halves: the value of a run of peta digits is the
// value of its first part times P_k = 10^(16 * 2^k) plus the value of its
// last 2^k peta digits, each part read the same way, down to runs of fewer
// than tuning::kFromTextDC words, which take one peta digit at a time (times
// 10^16 plus the digit). A number already in the array stands in front of
// the first part.
//
// Every number is built right-aligned in its block of the working stack, so
// that a step that lengthens it writes one word in front. A split whose
// blocks do not fit the working stack reads its run one peta digit at a
// time instead; a product that does not fit is formed from pieces.
#include <algorithm>

#include "q64/m0_utilities.h"
#include "numlib/m1_wordarrays/mul_methods.h"
#include "numlib/m1_wordarrays/wordops.h"
#include "q64/m2_scratch.h"
#include "numlib/m3_petapowers/peta_sizes.h"
#include "numlib/m4_petadigits/digits_dc.h"
#include "numlib/m4_petadigits/peta_ladder.h"
#include "q64/m9_numrec.h"
#include "numlib/tuning.h"

namespace m4 {
namespace {
constexpr uint64_t kGroup = 16;

// Words that hold the value of g peta digits behind a number of p words,
// with the room a step needs.
uint64_t roomFor(uint64_t p, uint64_t g) { return p + peta::wordLength(g) + 2; }

// X = x * 10^16 + v for the peta digits [i, j); X (len words) ends at end
// and may grow to the front. Returns the new length.
uint64_t byGroups(uint64_t* end, uint64_t len, const PetaDigits& d, uint64_t i, uint64_t j) {
    for (uint64_t t = i; t < j; ++t) {
        const uint64_t v = d.value(t);
        if (len == 0) {
            if (v != 0) {
                end[-1] = v;
                len = 1;
            }
            continue;
        }
        uint64_t* x = end - len;
        const uint64_t top = m1::mul1(x, x, len, NUMREC_PETA) + m1::addWord(x, len, v);
        if (top != 0) {
            x[-1] = top;
            ++len;
        }
    }
    return len;
}

// The prefix (pn words) followed by the peta digits [i, j), one at a time.
uint64_t byGroupsAfter(uint64_t* end, const uint64_t* prefix, uint64_t pn, const PetaDigits& d, uint64_t i,
                       uint64_t j) {
    m1::copy(end - pn, prefix, pn);
    return byGroups(end, pn, d, i, j);
}

// The value of the prefix (pn words, a significant first word) followed by
// the peta digits [i, j), built to end at end (roomFor(pn, j - i) words
// before it); returns its length. The low part (the last 2^k peta digits)
// is read in place; the high part goes to a block of its own; the product
// of the high part and P_k is then written over the low part's words above
// the 2^(64 zeros) of P_k, which are saved first and added back.
uint64_t readRange(uint64_t* end, const uint64_t* prefix, uint64_t pn, const PetaDigits& d, uint64_t i, uint64_t j,
                   const Ladder& ladder) {
    const uint64_t g = j - i;
    if (g < 2 || peta::wordLength(g) < tuning::kFromTextDC) return byGroupsAfter(end, prefix, pn, d, i, j);
    const unsigned k = std::min(topRungFor(g), ladder.top);
    const Rung& rung = ladder.rung[k];
    const uint64_t m = j - (uint64_t{1} << k);
    const uint64_t loLen = readRange(end, nullptr, 0, d, m, j, ladder);
    const uint64_t hiRoom = roomFor(pn, m - i);
    uint64_t* hi = _2_alocs(hiRoom);
    if (hi == nullptr) return byGroupsAfter(end, prefix, pn, d, i, j);
    const uint64_t hiLen = readRange(hi + hiRoom, prefix, pn, d, i, m, ladder);
    if (hiLen == 0) {
        _2_frees();
        return loLen;
    }
    const uint64_t z = rung.zeros, up = loLen > z ? loLen - z : 0;
    uint64_t* saved = _2_alocs(up);
    if (saved == nullptr) {
        _2_frees();
        return byGroupsAfter(end, prefix, pn, d, i, j);
    }
    m1::copy(saved, end - loLen, up);
    if (loLen < z) m1::zero(end - z, z - loLen);
    uint64_t len = hiLen + rung.n + z;
    m1::mulWithStack(end - len, hi + hiRoom - hiLen, hiLen, rung.p, rung.n);
    m1::addInto(end - len, len - z, saved, up);
    if ((end - len)[0] == 0) --len;
    _2_frees();
    _2_frees();
    return len;
}

}  // namespace

uint64_t PetaDigits::value(uint64_t t) const {
    if (fromLeft) {
        const uint64_t start = kGroup * t, n = std::min(kGroup, count - start);
        return n == kGroup ? _0_strtonum(digits + start, kGroup) : _0_strltonum(digits + start, n);
    }
    const uint64_t head = count % kGroup;
    if (head == 0) return _0_strtonum(digits + kGroup * t, kGroup);
    if (t == 0) return _0_strtonum(digits, head);
    return _0_strtonum(digits + head + kGroup * (t - 1), kGroup);
}

// The words of the array after the last step: one group at a time, the last
// step multiplies L words into L + 1 and drops a zero first word, which
// leaves the last word twice (a[L] = a[L-1]), unless that step lengthened
// the number, which it does exactly when the new first word is below 10^16.
uint64_t readByHalvesStack(uint64_t lenv, uint64_t g) { return ladderWords(topRungFor(g)) + roomFor(lenv, g); }

bool readByHalves(uint64_t* a, uint64_t lenv, const PetaDigits& d, uint64_t* length) {
    const uint64_t g = d.groups();
    if (g < 2 || peta::wordLength(g) < tuning::kFromTextDC) return false;
    if (lenv != 0 && a[0] == 0) return false;
    const unsigned top = topRungFor(g);
    const uint64_t ladderSize = ladderWords(top), room = roomFor(lenv, g);
    uint64_t* block = _2_alocs(readByHalvesStack(lenv, g));
    if (block == nullptr) return false;
    Ladder ladder;
    buildLadder(ladder, block, top, false);
    uint64_t* end = block + ladderSize + room;
    const uint64_t len = readRange(end, a, lenv, d, 0, g, ladder);
    m1::copy(a, end - len, len);
    if (len != 0 && a[0] >= NUMREC_PETA) a[len] = a[len - 1];
    _2_frees();
    *length = len;
    return true;
}

}  // namespace m4
