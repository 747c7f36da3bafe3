// The choice of multiplication method by size, and unbalanced products cut
// into balanced pieces (see mul_methods.h).
#include <algorithm>
#include <utility>

#include "numlib/m1/mul_methods.h"
#include "numlib/m1/wordops.h"
#include "numlib/m2/scratch.h"
#include "numlib/tuning.h"

namespace m1 {

void mulN(uint64_t* r, const uint64_t* a, const uint64_t* b, uint64_t n, uint64_t* tp) {
    if (n < tuning::kMulKaratsuba) {
        mulBasecase(r, a, n, b, n);
    } else if (n < tuning::kMulToom3) {
        mulKaratsuba(r, a, b, n, tp);
    } else {
        mulToom3(r, a, b, n, tp);
    }
}

void sqrN(uint64_t* r, const uint64_t* a, uint64_t n, uint64_t* tp) {
    if (n < tuning::kSqrBasecase) {
        mulBasecase(r, a, n, a, n);
    } else if (n < tuning::kSqrKaratsuba) {
        sqrBasecase(r, a, n);
    } else if (n < tuning::kSqrToom3) {
        sqrKaratsuba(r, a, n, tp);
    } else {
        sqrToom3(r, a, n, tp);
    }
}

uint64_t mulNScratch(uint64_t n) {
    if (n < tuning::kMulKaratsuba) return 0;
    if (n < tuning::kMulToom3) return mulKaratsubaScratch(n);
    return mulToom3Scratch(n);
}

uint64_t sqrNScratch(uint64_t n) {
    if (n < tuning::kSqrKaratsuba) return 0;
    if (n < tuning::kSqrToom3) return sqrKaratsubaScratch(n);
    return sqrToom3Scratch(n);
}

// A is cut from its least significant end into pieces of nb words (the last
// piece, at the front of A, may be shorter). The first piece's product is
// written in place; each later one is formed in tp and added where it
// belongs: its low nb words onto the previous product's high half, its high
// words onto fresh words of r.
void mul(uint64_t* r, const uint64_t* a, uint64_t na, const uint64_t* b, uint64_t nb, uint64_t* tp) {
    if (nb < tuning::kMulKaratsuba) {
        mulBasecase(r, a, na, b, nb);
        return;
    }
    if (na == nb) {
        mulN(r, a, b, nb, tp);
        return;
    }
    uint64_t* rest = tp + 2 * nb;
    uint64_t done = nb;  // words of A multiplied so far
    mulN(r + na - nb, a + na - nb, b, nb, rest);
    while (done < na) {
        const uint64_t piece = std::min(nb, na - done);
        const uint64_t* ap = a + na - done - piece;
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
    const uint64_t top = na % nb;
    uint64_t inner = mulNScratch(nb);
    if (top != 0) inner = std::max(inner, mulScratch(nb, top));
    return 2 * nb + inner;
}

void mulWithStack(uint64_t* r, const uint64_t* a, uint64_t na, const uint64_t* b, uint64_t nb) {
    if (na < nb) {
        std::swap(a, b);
        std::swap(na, nb);
    }
    const uint64_t need = mulScratch(na, nb);
    uint64_t* tp = need == 0 ? nullptr : _2_alocs(need);
    if (tp == nullptr) {
        mulBasecase(r, a, na, b, nb);
        return;
    }
    mul(r, a, na, b, nb, tp);
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
