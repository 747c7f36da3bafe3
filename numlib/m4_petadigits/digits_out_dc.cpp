// Writing decimal digits by halves: X is split by one long division at the
// power P_k = 10^(16 * 2^k) of the ladder into X div P_k, whose digits come
// first, and X mod P_k, written as exactly 16 * 2^k digits with leading
// zeros; both halves are split again at P_(k-1), and so on down to numbers
// of fewer than tuning::kToTextDC words, which go sixteen digits per
// division by 10^16 as before. The text is the one the sixteen-digit steps
// write for the whole array.
//
// The division divides X without its low zero words of P_k (they pass into
// the remainder unchanged) by the normalised rung: that part of X, shifted
// by the rung's shift, goes to a block of the working stack with one word in
// front (below the rung's top word, so the quotient needs no extra bit).
// The quotient stays in the block while its digits are written; the
// remainder goes back into X's own words. A split whose block does not fit
// the working stack writes its number by the steps instead.
#include "q64/m0_utilities.h"
#include "numlib/m1_wordarrays/div_internal.h"
#include "numlib/m1_wordarrays/wordops.h"
#include "q64/m1_wordarrays.h"
#include "q64/m2_scratch.h"
#include "numlib/m3_petapowers/peta_sizes.h"
#include "numlib/m4_petadigits/digits_dc.h"
#include "numlib/m4_petadigits/peta_ladder.h"
#include "q64/m9_numrec.h"
#include "numlib/tuning.h"

namespace m4 {
namespace {
constexpr uint64_t kGroup = 16;

// Exactly `groups` groups of sixteen digits of X (X < 10^(16 groups)), from
// the last group to the first, one division by 10^16 each.
void paddedBySteps(char* out, uint64_t* x, uint64_t xn, uint64_t groups) {
    for (uint64_t g = groups; g-- > 0;) {
        if (xn == 0) {
            _0_chset(out, kGroup * (g + 1), '0');
            return;
        }
        _0_numtostr16(out + kGroup * g, _1_div1n(x, xn, NUMREC_PETA));
        if (x[0] == 0) {
            ++x;
            --xn;
        }
    }
}

// The digits of X = x[0..xn-1]: exactly 16 * groups of them for groups != 0
// (then groups = 2^(k+1) and X < 10^(16 groups)), else without leading zeros
// (X != 0). Destroys X; returns the number of digits.
uint64_t writeDigits(char* out, uint64_t* x, uint64_t xn, int k, uint64_t groups, const Ladder& ladder) {
    const uint64_t z = m1::leadingZeros(x, xn);
    x += z;
    xn -= z;
    if (xn == 0) {  // only a padded part can be zero
        _0_chset(out, kGroup * groups, '0');
        return kGroup * groups;
    }
    if (k < 0 || xn < tuning::kToTextDC) {
        if (groups == 0) return digitsBySteps(out, x, xn);
        paddedBySteps(out, x, xn, groups);
        return kGroup * groups;
    }
    const Rung& rung = ladder.rung[k];
    const uint64_t half = uint64_t{1} << k;
    uint64_t written = 0;
    if (xn < rung.n + rung.zeros) {  // X < P_k: no digits above the low half
        if (groups == 0) return writeDigits(out, x, xn, k - 1, 0, ladder);
        _0_chset(out, kGroup * half, '0');
        return kGroup * half + writeDigits(out + kGroup * half, x, xn, k - 1, half, ladder);
    }
    const uint64_t hn = xn - rung.zeros, wn = hn + 1, qn = wn - rung.n;
    uint64_t* w = _2_alocs(wn);
    uint64_t* tp = w == nullptr ? nullptr : _2_alocs(m1::divNormalisedScratch(wn, rung.n));
    if (tp == nullptr) {
        if (w != nullptr) _2_frees();
        if (groups == 0) return digitsBySteps(out, x, xn);
        paddedBySteps(out, x, xn, groups);
        return kGroup * groups;
    }
    if (rung.shift != 0) {
        w[0] = m1::shiftLeft(w + 1, x, hn, rung.shift);
    } else {
        w[0] = 0;
        m1::copy(w + 1, x, hn);
    }
    m1::divNormalised(w, wn, rung.p, rung.n, tp);
    _2_frees();
    uint64_t* rem = x + hn - rung.n;  // X mod P_k: rung.n + rung.zeros words
    if (rung.shift != 0) {
        m1::shiftRight(rem, w + qn, rung.n, rung.shift);
    } else {
        m1::copy(rem, w + qn, rung.n);
    }
    const bool quotientZero = m1::leadingZeros(w, qn) == qn;
    if (groups != 0 || !quotientZero) written = writeDigits(out, w, qn, k - 1, groups == 0 ? 0 : half, ladder);
    _2_frees();
    if (groups == 0 && quotientZero) return writeDigits(out, rem, rung.n + rung.zeros, k - 1, 0, ladder);
    return written + writeDigits(out + written, rem, rung.n + rung.zeros, k - 1, half, ladder);
}

// The ladder's top rung for the significant words a[0..n-1] (a[0] != 0).
unsigned topRungOf(const uint64_t* a, uint64_t n) {
    const uint64_t bits = 64 * n - static_cast<uint64_t>(__builtin_clzll(a[0]));
    return topRungFor(peta::digitsOfBits(bits));
}

}  // namespace

uint64_t digitsByHalvesStack(const uint64_t* a, uint64_t n) {
    const uint64_t z = m1::leadingZeros(a, n);
    return z == n ? 0 : ladderWords(topRungOf(a + z, n - z));
}

bool digitsByHalves(char* out, uint64_t* a, uint64_t n, uint64_t* count) {
    if (n < tuning::kToTextDC) return false;
    const uint64_t z = m1::leadingZeros(a, n);
    if (n - z < tuning::kToTextDC) return false;
    const unsigned top = topRungOf(a + z, n - z);
    uint64_t* block = _2_alocs(ladderWords(top));
    if (block == nullptr) return false;
    Ladder ladder;
    buildLadder(ladder, block, top, true);
    *count = writeDigits(out, a + z, n - z, static_cast<int>(top), 0, ladder);
    _2_frees();
    return true;
}

}  // namespace m4
