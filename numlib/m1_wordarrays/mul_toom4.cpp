// Toom-4 products and squares (see mul_methods.h). A = a3 x^3 + a2 x^2 +
// a1 x + a0 with x = 2^(64m), m = ceil(n/4), a3 the top s = n - 3m words;
// the same for B. The product C = c6 x^6 + ... + c0 is found from its
// values at 0, 1, -1, 2, -2, 1/2 and infinity (seven products of m + 1
// words at most instead of sixteen); at 1/2 the values are scaled by 8, so
// vh = 64 C(1/2) = sum of c_i 2^(6-i). Interpolation (every step exact and
// never negative):
//   E1 = (v1 + vm1) / 2 - c0 - c6                = c2 + c4
//   O1 = (v1 - vm1) / 2                          = c1 + c3 + c5
//   E2 = ((v2 + vm2) / 2 - c0 - 64 c6) / 4       = c2 + 4 c4
//   O2 = (v2 - vm2) / 4                          = c1 + 4 c3 + 16 c5
//   c4 = (E2 - E1) / 3,  c2 = E1 - c4
//   H = (vh - 64 c0 - 16 c2 - 4 c4 - c6) / 2     = 16 c1 + 4 c3 + c5
//   c5 = (H + 4 O2 - 20 O1) / 45
//   c3 = (O2 - O1 - 15 c5) / 3,  c1 = O1 - c3 - c5
// v1 - vm1 and v2 - vm2 are never negative, whatever the signs of vm1 and
// vm2: they are twice the odd part when that sign is +, twice the even part
// when it is -.
//
// Layout: the values of A and B at a pair of points (four blocks of m + 1
// words) lie where the product will be (r has 6m + 2s >= 4m + 4 words); the
// five products v1, vm1, v2, vm2, vh go to tp (2m + 2 words each); then
// vinf fills r[0..2s-1] and v0 r[2n-2m..2n-1], the words between are
// cleared and c1 .. c5 are added at x .. x^5. Scratch: 10m + 10 words and
// the sub-products' own.
#include <initializer_list>

#include "numlib/m1_wordarrays/mul_methods.h"
#include "numlib/m1_wordarrays/wordops.h"

namespace m1 {
namespace {

struct Split {
    uint64_t m, s;
    explicit Split(uint64_t n) : m((n + 3) / 4), s(n - 3 * ((n + 3) / 4)) {}
};

// a_i: a3 = a[0..s-1], a2 = a[s..s+m-1], a1, a0 the next m words each.
inline const uint64_t* coefficient(const uint64_t* a, const Split& p, unsigned i) {
    return i == 3 ? a : a + p.s + (2 - i) * p.m;
}
inline uint64_t length(const Split& p, unsigned i) { return i == 3 ? p.s : p.m; }

// From x = X and y = Y (m + 1 words each): y = |X - Y| and x = X + Y, the
// latter as 2X -/+ |X - Y|. True when X < Y.
bool sumAndDifference(uint64_t* x, uint64_t* y, uint64_t e) {
    const bool negative = absDiff(y, x, e, y, e);
    shiftLeft(x, x, e, 1);
    if (negative) {
        addN(x, x, y, e);
    } else {
        subN(x, x, y, e);
    }
    return negative;
}

// e1 = A(1), em = |A(-1)|; true when A(-1) < 0. From a0 + a2 and a1 + a3.
bool evaluateAtOnes(uint64_t* e1, uint64_t* em, const uint64_t* a, const Split& p) {
    const uint64_t e = p.m + 1;
    for (unsigned i : {0u, 1u}) {
        uint64_t* t = i == 0 ? e1 : em;
        t[0] = 0;
        copy(t + 1, coefficient(a, p, i), p.m);
        addInto(t, e, coefficient(a, p, i + 2), length(p, i + 2));
    }
    return sumAndDifference(e1, em, e);
}

// e1 = A(2), em = |A(-2)|; true when A(-2) < 0. From a0 + 4 a2 and
// 2 a1 + 8 a3.
bool evaluateAtTwos(uint64_t* e1, uint64_t* em, const uint64_t* a, const Split& p) {
    const uint64_t e = p.m + 1;
    e1[0] = 0;
    copy(e1 + 1, coefficient(a, p, 0), p.m);
    addMulInto(e1, e, coefficient(a, p, 2), p.m, 4);
    em[0] = mul1(em + 1, coefficient(a, p, 1), p.m, 2);
    addMulInto(em, e, coefficient(a, p, 3), p.s, 8);
    return sumAndDifference(e1, em, e);
}

// e = 8 A(1/2) = 8 a0 + 4 a1 + 2 a2 + a3.
void evaluateAtHalf(uint64_t* e, const uint64_t* a, const Split& p) {
    e[0] = mul1(e + 1, coefficient(a, p, 0), p.m, 8);
    addMulInto(e, p.m + 1, coefficient(a, p, 1), p.m, 4);
    addMulInto(e, p.m + 1, coefficient(a, p, 2), p.m, 2);
    addInto(e, p.m + 1, coefficient(a, p, 3), p.s);
}

// From a value X at 1 or 2 in x and its partner at -1 or -2 in y (sign
// negative): x becomes (X + Y) / 2 and y (X - Y) / 2 for the signed Y; then
// the halves are returned as {even part, odd part}.
struct Parts {
    uint64_t* even;
    uint64_t* odd;
};
Parts halves(uint64_t* x, uint64_t* y, uint64_t len, bool negative) {
    sumAndDifference(x, y, len);  // x = X + |Y|, y = X - |Y| (never negative)
    shiftRight(x, x, len, 1);
    shiftRight(y, y, len, 1);
    return negative ? Parts{y, x} : Parts{x, y};
}

// v1, vm1, v2, vm2, vh in tp (vm1, vm2 negative as flagged); v0 and vinf
// already in r.
void interpolate(uint64_t* r, uint64_t n, const Split& p, uint64_t* tp, bool negative1, bool negative2) {
    const uint64_t len = 2 * p.m + 2, low = 2 * p.m, top = 2 * p.s;
    const uint64_t* v0 = r + 2 * n - low;
    const uint64_t* vinf = r;
    uint64_t* vh = tp + 4 * len;
    const Parts one = halves(tp, tp + len, len, negative1);
    const Parts two = halves(tp + 2 * len, tp + 3 * len, len, negative2);
    uint64_t *e1 = one.even, *o1 = one.odd, *e2 = two.even, *o2 = two.odd;
    subFrom(e1, len, v0, low);
    subFrom(e1, len, vinf, top);                // c2 + c4
    subFrom(e2, len, v0, low);
    subMulFrom(e2, len, vinf, top, 64);
    shiftRight(e2, e2, len, 2);                 // c2 + 4 c4
    shiftRight(o2, o2, len, 1);                 // c1 + 4 c3 + 16 c5
    subN(e2, e2, e1, len);
    divExact(e2, e2, len, 3);                   // c4
    subN(e1, e1, e2, len);                      // c2
    subMulFrom(vh, len, v0, low, 64);
    subMulFrom(vh, len, e1, len, 16);
    subMulFrom(vh, len, e2, len, 4);
    subFrom(vh, len, vinf, top);
    shiftRight(vh, vh, len, 1);                 // 16 c1 + 4 c3 + c5
    addMulInto(vh, len, o2, len, 4);
    subMulFrom(vh, len, o1, len, 20);
    divExact(vh, vh, len, 45);                  // c5
    subN(o2, o2, o1, len);
    subMulFrom(o2, len, vh, len, 15);
    divExact(o2, o2, len, 3);                   // c3
    subN(o1, o1, o2, len);
    subN(o1, o1, vh, len);                      // c1
    zero(r + top, 4 * p.m);
    const uint64_t* coefficients[] = {o1, e1, o2, e2, vh};
    for (uint64_t i = 0; i < 5; ++i) addShifted(r, 2 * n, coefficients[i], len, (i + 1) * p.m);
}

}  // namespace

void mulToom4(uint64_t* r, const uint64_t* a, const uint64_t* b, uint64_t n, uint64_t* tp) {
    const Split p(n);
    const uint64_t e = p.m + 1, len = 2 * p.m + 2;
    uint64_t *ea = r, *eam = r + e, *eb = r + 2 * e, *ebm = r + 3 * e;
    uint64_t* rest = tp + 5 * len;
    const bool negative1 = evaluateAtOnes(ea, eam, a, p) != evaluateAtOnes(eb, ebm, b, p);
    mulN(tp, ea, eb, e, rest);
    mulN(tp + len, eam, ebm, e, rest);
    const bool negative2 = evaluateAtTwos(ea, eam, a, p) != evaluateAtTwos(eb, ebm, b, p);
    mulN(tp + 2 * len, ea, eb, e, rest);
    mulN(tp + 3 * len, eam, ebm, e, rest);
    evaluateAtHalf(ea, a, p);
    evaluateAtHalf(eb, b, p);
    mulN(tp + 4 * len, ea, eb, e, rest);
    mulN(r + 2 * n - 2 * p.m, coefficient(a, p, 0), coefficient(b, p, 0), p.m, rest);
    mulN(r, a, b, p.s, rest);
    interpolate(r, n, p, tp, negative1, negative2);
}

void sqrToom4(uint64_t* r, const uint64_t* a, uint64_t n, uint64_t* tp) {
    const Split p(n);
    const uint64_t e = p.m + 1, len = 2 * p.m + 2;
    uint64_t *ea = r, *eam = r + e;
    uint64_t* rest = tp + 5 * len;
    evaluateAtOnes(ea, eam, a, p);
    sqrN(tp, ea, e, rest);
    sqrN(tp + len, eam, e, rest);
    evaluateAtTwos(ea, eam, a, p);
    sqrN(tp + 2 * len, ea, e, rest);
    sqrN(tp + 3 * len, eam, e, rest);
    evaluateAtHalf(ea, a, p);
    sqrN(tp + 4 * len, ea, e, rest);
    sqrN(r + 2 * n - 2 * p.m, coefficient(a, p, 0), p.m, rest);
    sqrN(r, a, p.s, rest);
    interpolate(r, n, p, tp, false, false);
}

uint64_t mulToom4Scratch(uint64_t n) {
    const Split p(n);
    return toomScratch(5, p.m, p.s, mulNScratch);
}

uint64_t sqrToom4Scratch(uint64_t n) {
    const Split p(n);
    return toomScratch(5, p.m, p.s, sqrNScratch);
}

}  // namespace m1
