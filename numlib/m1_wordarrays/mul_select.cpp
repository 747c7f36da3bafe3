// The choice of multiplication method by size, and unbalanced products cut
// into balanced pieces (see mul_methods.h).
#include <algorithm>
#include <utility>

#include "numlib/m1_wordarrays/mul_methods.h"
#include "numlib/m1_wordarrays/wordops.h"
#include "q64/m2_scratch.h"
#include "numlib/tuning.h"

namespace m1 {

void mulN(uint64_t* r, const uint64_t* a, const uint64_t* b, uint64_t n, uint64_t* tp) {
    if (n < tuning::kMulKaratsuba) {
        mulBasecase(r, a, n, b, n);
    } else if (n < tuning::kMulToom3) {
        mulKaratsuba(r, a, b, n, tp);
    } else if (n < tuning::kMulToom4) {
        mulToom3(r, a, b, n, tp);
    } else {
        mulToom4(r, a, b, n, tp);
    }
}

void sqrN(uint64_t* r, const uint64_t* a, uint64_t n, uint64_t* tp) {
    if (n < tuning::kSqrBasecase) {
        mulBasecase(r, a, n, a, n);
    } else if (n < tuning::kSqrKaratsuba) {
        sqrBasecase(r, a, n);
    } else if (n < tuning::kSqrToom3) {
        sqrKaratsuba(r, a, n, tp);
    } else if (n < tuning::kSqrToom4) {
        sqrToom3(r, a, n, tp);
    } else {
        sqrToom4(r, a, n, tp);
    }
}

uint64_t mulNScratch(uint64_t n) {
    if (n < tuning::kMulKaratsuba) return 0;
    if (n < tuning::kMulToom3) return mulKaratsubaScratch(n);
    if (n < tuning::kMulToom4) return mulToom3Scratch(n);
    return mulToom4Scratch(n);
}

uint64_t toomScratch(uint64_t kept, uint64_t m, uint64_t s, uint64_t (*sub)(uint64_t)) {
    return kept * (2 * m + 2) + std::max({sub(m + 1), sub(m), sub(s)});
}

uint64_t sqrNScratch(uint64_t n) {
    if (n < tuning::kSqrKaratsuba) return 0;
    if (n < tuning::kSqrToom3) return sqrKaratsubaScratch(n);
    if (n < tuning::kSqrToom4) return sqrToom3Scratch(n);
    return sqrToom4Scratch(n);
}

namespace {
// Words of the temporary for the products of the later pieces of mul: a full
// piece's 2nb, or the last piece's nb + top when it is the only one and not
// added row by row.
uint64_t pieceWords(uint64_t nb, uint64_t top, uint64_t full) {
    if (full > 1) return 2 * nb;
    return top >= tuning::kMulKaratsuba ? nb + top : 0;
}
}  // namespace

// A is cut from its least significant end into pieces of nb words; the
// first piece's product is written in place, each later one is formed in tp
// and added where it belongs: its low nb words onto the previous product's
// high half, its high words onto fresh words of r. A last piece (at the
// front of A) shorter than the Karatsuba threshold is added one row per word,
// as the schoolbook does, with no temporary.
void mul(uint64_t* r, const uint64_t* a, uint64_t na, const uint64_t* b, uint64_t nb, uint64_t* tp) {
    if (nb < tuning::kMulKaratsuba) {
        mulBasecase(r, a, na, b, nb);
        return;
    }
    if (na == nb) {
        mulN(r, a, b, nb, tp);
        return;
    }
    const uint64_t top = na % nb, full = na / nb;
    uint64_t* rest = tp + pieceWords(nb, top, full);
    mulN(r + na - nb, a + na - nb, b, nb, rest);
    for (uint64_t done = nb; done < na;) {
        const uint64_t piece = std::min(nb, na - done);
        const uint64_t* ap = a + na - done - piece;
        if (piece < tuning::kMulKaratsuba) {  // rows onto r[0..piece+nb-1]
            for (uint64_t j = piece; j-- > 0;) r[j] = addMul1(r + j + 1, b, nb, ap[j]);
            break;
        }
        if (piece == nb) {
            mulN(tp, ap, b, nb, rest);
        } else {
            mul(tp, b, nb, ap, piece, rest);
        }
        // The product of this piece ends done words above r's last word.
        uint64_t* end = r + na + nb - done;
        const uint64_t carry = addN(end - nb, end - nb, tp + piece, nb);
        copy(end - nb - piece, tp, piece);
        addWord(end - nb - piece, piece, carry);
        done += piece;
    }
}

uint64_t mulScratch(uint64_t na, uint64_t nb) {
    if (nb < tuning::kMulKaratsuba) return 0;
    if (na == nb) return mulNScratch(nb);
    const uint64_t top = na % nb, full = na / nb;
    uint64_t inner = mulNScratch(nb);
    if (top >= tuning::kMulKaratsuba) inner = std::max(inner, mulScratch(nb, top));
    return pieceWords(nb, top, full) + inner;
}

// When the method's work memory does not fit, A is cut in halves: the low
// half's product is written in place, the high half's formed in a temporary
// and added where it belongs, each by the same rule, so the pieces are as
// large as the stack allows; the schoolbook is left for what fits nothing.
void mulWithStack(uint64_t* r, const uint64_t* a, uint64_t na, const uint64_t* b, uint64_t nb) {
    if (na < nb) {
        std::swap(a, b);
        std::swap(na, nb);
    }
    const uint64_t need = mulScratch(na, nb);
    uint64_t* tp = need == 0 ? nullptr : _2_alocs(need);
    if (tp != nullptr) {
        mul(r, a, na, b, nb, tp);
        _2_frees();
        return;
    }
    if (need == 0 || na < 2 * tuning::kMulKaratsuba) {
        mulBasecase(r, a, na, b, nb);
        return;
    }
    const uint64_t lo = na / 2, hi = na - lo;
    mulWithStack(r + hi, a + hi, lo, b, nb);
    uint64_t* t = _2_alocs(hi + nb);
    if (t == nullptr) {
        for (uint64_t j = hi; j-- > 0;) r[j] = addMul1(r + j + 1, b, nb, a[j]);
        return;
    }
    mulWithStack(t, a, hi, b, nb);
    const uint64_t carry = addN(r + hi, r + hi, t + hi, nb);
    copy(r, t, hi);
    addWord(r, hi, carry);
    _2_frees();
}

void sqrWithStack(uint64_t* r, const uint64_t* a, uint64_t n) {
    const uint64_t need = sqrNScratch(n);
    uint64_t* tp = need == 0 ? nullptr : _2_alocs(need);
    if (tp == nullptr) {
        sqrBasecase(r, a, n);
        return;
    }
    sqrN(r, a, n, tp);
    _2_frees();
}

}  // namespace m1
