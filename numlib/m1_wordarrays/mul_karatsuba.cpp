// Karatsuba products and squares (see mul_methods.h). With A = a1 x + a0 and
// B = b1 x + b0, x = 2^(64m), a0 and b0 the low m = ceil(n/2) words:
//   A B = a1 b1 x^2 + (a0 b0 + a1 b1 - (a0 - a1)(b0 - b1)) x + a0 b0,
// three half-size products instead of four.
//
// Layout: |a0 - a1| and |b0 - b1| first go where the product will be (r has
// 2n >= 2m words); their product goes to tp; then a1 b1 fills r[0..2s-1]
// and a0 b0 r[2s..2n-1], and the middle term, formed in tp with one word in
// front, is added at x. Scratch: 2m + 1 words and the sub-products' own.
#include <algorithm>

#include "numlib/m1_wordarrays/mul_methods.h"
#include "numlib/m1_wordarrays/wordops.h"

namespace m1 {
namespace {

// mid[1..2m] holds |(a0 - a1)(b0 - b1)|; r holds a1 b1 and a0 b0. Forms
// a0 b0 + a1 b1 -/+ mid in mid[0..2m] (add: the difference product is
// negative) and adds it into r at x.
void addMiddle(uint64_t* r, uint64_t n, uint64_t m, uint64_t* mid, bool add) {
    const uint64_t s = n - m;
    const uint64_t* v0 = r + 2 * s;
    uint64_t top = add ? addN(mid + 1, mid + 1, v0, 2 * m) : 0 - subN(mid + 1, v0, mid + 1, 2 * m);
    top += addInto(mid + 1, 2 * m, r, 2 * s);  // the middle term is never negative
    mid[0] = top;
    addShifted(r, 2 * n, mid, 2 * m + 1, m);
}

}  // namespace

void mulKaratsuba(uint64_t* r, const uint64_t* a, const uint64_t* b, uint64_t n, uint64_t* tp) {
    const uint64_t s = n / 2, m = n - s;
    const uint64_t *a1 = a, *a0 = a + s, *b1 = b, *b0 = b + s;
    const bool negA = absDiff(r, a0, m, a1, s);
    const bool negB = absDiff(r + m, b0, m, b1, s);
    uint64_t* rest = tp + 2 * m + 1;
    mulN(tp + 1, r, r + m, m, rest);
    mulN(r + 2 * s, a0, b0, m, rest);
    mulN(r, a1, b1, s, rest);
    addMiddle(r, n, m, tp, negA != negB);
}

void sqrKaratsuba(uint64_t* r, const uint64_t* a, uint64_t n, uint64_t* tp) {
    const uint64_t s = n / 2, m = n - s;
    absDiff(r, a + s, m, a, s);
    uint64_t* rest = tp + 2 * m + 1;
    sqrN(tp + 1, r, m, rest);
    sqrN(r + 2 * s, a + s, m, rest);
    sqrN(r, a, s, rest);
    addMiddle(r, n, m, tp, false);
}

uint64_t mulKaratsubaScratch(uint64_t n) {
    const uint64_t s = n / 2, m = n - s;
    return 2 * m + 1 + std::max(mulNScratch(m), mulNScratch(s));
}

uint64_t sqrKaratsubaScratch(uint64_t n) {
    const uint64_t s = n / 2, m = n - s;
    return 2 * m + 1 + std::max(sqrNScratch(m), sqrNScratch(s));
}

}  // namespace m1
