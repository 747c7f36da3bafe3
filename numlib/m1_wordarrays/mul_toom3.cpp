// Toom-3 products and squares (see mul_methods.h). A = a2 x^2 + a1 x + a0
// with x = 2^(64m), m = ceil(n/3), a2 the top s = n - 2m words; the same for
// B. The product C = c4 x^4 + ... + c0 is found from its values at 0, 1, -1,
// 2 and infinity (five products of m + 1 words at most instead of nine):
//   v0 = a0 b0, v1 = A(1) B(1), vm1 = A(-1) B(-1), v2 = A(2) B(2), vinf = a2 b2.
// Interpolation (every step exact and never negative):
//   t2 = (v2 - vm1) / 3      = c1 + c2 + 3 c3 + 5 c4
//   tm = (v1 - vm1) / 2      = c1 + c3
//   t1 = v1 - v0             = c1 + c2 + c3 + c4
//   t2 = (t2 - t1) / 2       = c3 + 2 c4
//   t1 = t1 - tm - vinf      = c2
//   t2 = t2 - 2 vinf         = c3
//   tm = tm - t2             = c1
//
// Layout: the values of A and B at 1 and -1 (four blocks of m + 1 words)
// first lie where the product will be (r has 4m + 2s >= 4m + 4 words for
// n >= 8); v1, vm1 and v2 go to tp (2m + 2 words each); then vinf fills
// r[0..2s-1] and v0 r[2s+2m..2n-1], the words between are cleared, and c1,
// c2, c3 are added at x, x^2, x^3. Scratch: 6m + 6 words and the
// sub-products' own.
#include "numlib/m1_wordarrays/mul_methods.h"
#include "numlib/m1_wordarrays/wordops.h"

namespace m1 {
namespace {

struct Split {
    uint64_t m, s;
    explicit Split(uint64_t n) : m((n + 2) / 3), s(n - 2 * ((n + 2) / 3)) {}
};

// e1 = A(1) and em = |A(-1)| (m + 1 words each); true when A(-1) < 0.
bool evaluateAtOnes(uint64_t* e1, uint64_t* em, const uint64_t* a, const Split& p) {
    const uint64_t *a2 = a, *a1 = a + p.s, *a0 = a + p.s + p.m;
    e1[0] = 0;
    copy(e1 + 1, a0, p.m);
    addInto(e1, p.m + 1, a2, p.s);  // a0 + a2
    const bool negative = absDiff(em, e1, p.m + 1, a1, p.m);
    addInto(e1, p.m + 1, a1, p.m);
    return negative;
}

// e1 = A(1) becomes A(2) = 2 (A(1) + a2) - a0 (below 7 x, so m + 1 words).
void evaluateAtTwo(uint64_t* e1, const uint64_t* a, const Split& p) {
    addInto(e1, p.m + 1, a, p.s);
    shiftLeft(e1, e1, p.m + 1, 1);
    subFrom(e1, p.m + 1, a + p.s + p.m, p.m);
}

// v1, vm1, v2 in tp (vm1 negative when negative); v0 and vinf already in r.
void interpolate(uint64_t* r, uint64_t n, const Split& p, uint64_t* tp, bool negative) {
    const uint64_t len = 2 * p.m + 2;
    uint64_t *v1 = tp, *vm1 = tp + len, *v2 = tp + 2 * len;
    const uint64_t* v0 = r + 2 * n - 2 * p.m;
    const uint64_t* vinf = r;
    if (negative) {
        addN(v2, v2, vm1, len);
        addN(vm1, v1, vm1, len);
    } else {
        subN(v2, v2, vm1, len);
        subN(vm1, v1, vm1, len);
    }
    divExact(v2, v2, len, 3);
    shiftRight(vm1, vm1, len, 1);
    subFrom(v1, len, v0, 2 * p.m);
    subN(v2, v2, v1, len);
    shiftRight(v2, v2, len, 1);
    subN(v1, v1, vm1, len);
    subFrom(v1, len, vinf, 2 * p.s);
    subFrom(v2, len, vinf, 2 * p.s);
    subFrom(v2, len, vinf, 2 * p.s);
    subN(vm1, vm1, v2, len);
    zero(r + 2 * p.s, 2 * p.m);
    addShifted(r, 2 * n, vm1, len, p.m);
    addShifted(r, 2 * n, v1, len, 2 * p.m);
    addShifted(r, 2 * n, v2, len, 3 * p.m);
}

}  // namespace

void mulToom3(uint64_t* r, const uint64_t* a, const uint64_t* b, uint64_t n, uint64_t* tp) {
    const Split p(n);
    const uint64_t e = p.m + 1, len = 2 * p.m + 2;
    uint64_t *ea1 = r, *eb1 = r + e, *eam = r + 2 * e, *ebm = r + 3 * e;
    uint64_t* rest = tp + 3 * len;
    const bool negative = evaluateAtOnes(ea1, eam, a, p) != evaluateAtOnes(eb1, ebm, b, p);
    mulN(tp, ea1, eb1, e, rest);
    mulN(tp + len, eam, ebm, e, rest);
    evaluateAtTwo(ea1, a, p);
    evaluateAtTwo(eb1, b, p);
    mulN(tp + 2 * len, ea1, eb1, e, rest);
    mulN(r + 2 * n - 2 * p.m, a + p.s + p.m, b + p.s + p.m, p.m, rest);
    mulN(r, a, b, p.s, rest);
    interpolate(r, n, p, tp, negative);
}

void sqrToom3(uint64_t* r, const uint64_t* a, uint64_t n, uint64_t* tp) {
    const Split p(n);
    const uint64_t e = p.m + 1, len = 2 * p.m + 2;
    uint64_t *ea1 = r, *eam = r + e;
    uint64_t* rest = tp + 3 * len;
    evaluateAtOnes(ea1, eam, a, p);
    sqrN(tp, ea1, e, rest);
    sqrN(tp + len, eam, e, rest);
    evaluateAtTwo(ea1, a, p);
    sqrN(tp + 2 * len, ea1, e, rest);
    sqrN(r + 2 * n - 2 * p.m, a + p.s + p.m, p.m, rest);
    sqrN(r, a, p.s, rest);
    interpolate(r, n, p, tp, false);
}

uint64_t mulToom3Scratch(uint64_t n) {
    const Split p(n);
    return toomScratch(3, p.m, p.s, mulNScratch);
}

uint64_t sqrToom3Scratch(uint64_t n) {
    const Split p(n);
    return toomScratch(3, p.m, p.s, sqrNScratch);
}

}  // namespace m1
