// Long division by divide and conquer (Burnikel and Ziegler; the form of
// Granlund and Moller's dcpi1): 2n words by n words as two divisions of
// 3n/2 by n, each one recursive division of n by n/2 words plus one product
// of n/2 words. Below tuning::kDivDC divisor words the steps are those of
// the long division (quotientWord).
//
// The divisor is normalised (its top bit set) in a copy, the dividend is
// shifted in place by the same bits (it still fits its words, since its top
// nb words are below B), and the remainder is shifted back. As in the long
// division, the quotient words take the place of the dividend words they
// use up, and the remainder ends the array. Quotient and remainder are
// determined by A and B alone, so they are those of the long division.
//
// Work memory, from the working stack: the normalised divisor (nb words) and
// per level the n-word product with the product's own work memory.
#include <algorithm>

#include "numlib/m1_wordarrays/div_internal.h"
#include "numlib/m1_wordarrays/mul_methods.h"
#include "numlib/m1_wordarrays/wordops.h"
#include "q64/m2_scratch.h"
#include "numlib/tuning.h"

namespace m1 {
namespace {

// r = X * Y, either operand the longer.
void product(uint64_t* r, const uint64_t* x, uint64_t xn, const uint64_t* y, uint64_t yn, uint64_t* tp) {
    if (xn >= yn) {
        mul(r, x, xn, y, yn, tp);
    } else {
        mul(r, y, yn, x, xn, tp);
    }
}

uint64_t productScratch(uint64_t xn, uint64_t yn) { return xn >= yn ? mulScratch(xn, yn) : mulScratch(yn, xn); }

// W of wn words by the normalised D of dn words with the long division's
// steps. The top dn words of W may equal or pass D: they are then reduced
// first, and the quotient's extra top bit is returned (1), else 0.
uint64_t divSchool(uint64_t* w, uint64_t wn, const uint64_t* d, uint64_t dn) {
    const uint64_t qh = compare(w, d, dn) >= 0 ? 1 : 0;
    if (qh != 0) subN(w, w, d, dn);
    divLoop(w, wn, d, dn);
    return qh;
}

// The quotient q (qn words at w, extra top bit qh) of the window's top 2qn
// words by D's top qn words becomes that of the window w[0..qn+nd-1] by all
// of D: q times D's other nd - qn words (qh times them at the top) is taken
// from the remainder w[qn..qn+nd-1], and while that went negative q is
// lowered by one and D added back. Returns the new top bit. tp: nd words for
// the product and the product's work memory.
uint64_t correct(uint64_t* w, uint64_t qn, uint64_t qh, const uint64_t* d, uint64_t nd, uint64_t* tp) {
    product(tp, w, qn, d + qn, nd - qn, tp + nd);
    uint64_t cy = subN(w + qn, w + qn, tp, nd);
    if (qh != 0) cy += subN(w + qn, w + qn, d + qn, nd - qn);
    while (cy != 0) {
        qh -= subWord(w, qn, 1);
        cy -= addN(w + qn, w + qn, d, nd);
    }
    return qh;
}

// W = w[0..2n-1] by the normalised D = d[0..n-1]: the quotient's n words to
// w[0..n-1] (its extra top bit returned), the remainder to w[n..2n-1]. With
// hi + lo = n: the top 2hi words by D's top hi words give the first hi
// quotient words, corrected by D's other lo words; the next lo quotient
// words come the same way from the remainder's top 2lo words.
uint64_t divHalves(uint64_t* w, const uint64_t* d, uint64_t n, uint64_t* tp) {
    if (n < tuning::kDivDC) return divSchool(w, 2 * n, d, n);
    const uint64_t lo = n / 2, hi = n - lo;
    const uint64_t qh = correct(w, hi, divHalves(w, d, hi, tp), d, n, tp);
    correct(w + hi, lo, divHalves(w + hi, d, lo, tp), d, n, tp);  // its top bit is used up
    return qh;
}

uint64_t divHalvesScratch(uint64_t n) {
    if (n < tuning::kDivDC) return 0;
    const uint64_t lo = n / 2, hi = n - lo;
    return std::max({divHalvesScratch(hi), divHalvesScratch(lo), n + productScratch(hi, lo)});
}

// qb <= nb quotient words of the window w[0..qb+nb-1]: from its top 2qb
// words by D's top qb words, corrected by D's other nb - qb words. Returns
// the quotient's extra top bit.
uint64_t divBlock(uint64_t* w, uint64_t qb, const uint64_t* d, uint64_t nb, uint64_t* tp) {
    const uint64_t qh = divHalves(w, d, qb, tp);
    return qb == nb ? qh : correct(w, qb, qh, d, nb, tp);
}

uint64_t divBlockScratch(uint64_t qb, uint64_t nb) {
    const uint64_t own = qb == nb ? 0 : nb + productScratch(qb, nb - qb);
    return std::max(divHalvesScratch(qb), own);
}

// The quotient's first qn mod nb words (or nb) come as one block, every
// further nb words from a division of 2nb by nb words.
uint64_t firstBlock(uint64_t qn, uint64_t nb) {
    const uint64_t first = qn % nb;
    return first == 0 ? nb : first;
}

}  // namespace

uint64_t divNormalised(uint64_t* a, uint64_t na, const uint64_t* d, uint64_t nb, uint64_t* tp) {
    const uint64_t qn = na - nb, first = firstBlock(qn, nb);
    const uint64_t qh = divBlock(a, first, d, nb, tp);
    for (uint64_t j = first; j < qn; j += nb) divHalves(a + j, d, nb, tp);
    return qh;
}

uint64_t divNormalisedScratch(uint64_t na, uint64_t nb) {
    const uint64_t qn = na - nb, first = firstBlock(qn, nb);
    return std::max(divBlockScratch(first, nb), qn > first ? divHalvesScratch(nb) : 0);
}

// The normalised divisor's nb words are reserved even when B is normalised
// already, so that the need depends on the sizes alone.
uint64_t divDCScratch(uint64_t na, uint64_t nb) { return nb + divNormalisedScratch(na, nb); }

bool divDC(uint64_t* a, uint64_t na, const uint64_t* b, uint64_t nb) {
    const unsigned sh = static_cast<unsigned>(__builtin_clzll(b[0]));
    uint64_t* block = _2_alocs(divDCScratch(na, nb));
    if (block == nullptr) return false;
    const uint64_t* d = b;
    if (sh != 0) {
        shiftLeft(block, b, nb, sh);
        shiftLeft(a, a, na, sh);
        d = block;
    }
    divNormalised(a, na, d, nb, block + nb);
    const uint64_t qn = na - nb;
    if (sh != 0) shiftRight(a + qn, a + qn, nb, sh);
    _2_frees();
    return true;
}

}  // namespace m1
