// Stage 2 of the elliptic curve method, the standard continuation with baby
// and giant steps (internal, C++ only).
//
// After stage 1 the point Q has an order whose largest prime factor q, if
// some factor p of n makes it small, is sought in (B1, B2]. Each such q is
// k D + j or k D - j with 0 < j < D/2 prime to D: then [kD]Q and [j]Q have the
// same x modulo p, and p divides X_k - x_j Z_k (the baby steps x_j are made
// Z = 1 once, by one inversion for all). The product of these differences
// over all primes q goes into one gcd.
#pragma once

#include <cstdint>

#include "primequery/factoring/ecm_curve.h"
#include "primequery/factoring/stage2_primes.h"

namespace factoring {

// D = 210 for short ranges, 2310 (fewer giant steps, more baby steps) for
// long ones.
inline constexpr uint32_t kLongStage2 = 60000;
inline constexpr int kBabySteps = 240;  // the j < 1155 prime to 2310

// The product of X_k - x_j Z_k over the primes q of (b1, b2], b2 below
// kStage2Limit (not reentrant: static work arrays); 0 when some baby step cannot be normalised (its Z shares a
// factor with n: the caller's gcd with 0 gives n, or that factor is found by
// `factor`). `factor` receives a factor found on the way (else stays 0).
template <class Mont, class Word>
Word stageTwo(const EcmCurve<Mont, Word>& curve, const CurvePoint<Word>& q, uint32_t b1, uint32_t b2, Word* factor) {
    using Point = CurvePoint<Word>;
    const Mont& m = curve.mont();
    const uint32_t d = b2 > kLongStage2 ? 2310 : 210;
    // Baby steps j Q for odd j < D/2: Q_{j+2} = Q_j + 2Q with difference Q_{j-2}.
    // Their arrays are a static work record: stage 2 never runs twice at once.
    static Word babyX[kBabySteps], babyZ[kBabySteps], prefix[kBabySteps];
    static uint16_t babyJ[kBabySteps];
    int count = 0;
    const Point q2 = curve.dbl(q);
    Point previous = q, current = curve.add(q2, q, q);  // Q, 3Q
    babyX[0] = q.x, babyZ[0] = q.z, babyJ[0] = 1, count = 1;
    for (uint32_t j = 3; j < d / 2; j += 2) {
        if (j % 3 != 0 && j % 5 != 0 && j % 7 != 0 && (d == 210 || j % 11 != 0)) {
            babyX[count] = current.x, babyZ[count] = current.z, babyJ[count] = static_cast<uint16_t>(j);
            ++count;
        }
        const Point next = curve.add(current, q2, previous);
        previous = current;
        current = next;
    }
    // A prime q = j itself: j Q is the neutral point modulo p when p | Z_j.
    Word product = m.one();
    for (int i = 0; i < count; ++i)
        if (babyJ[i] > b1 && babyJ[i] <= b2 && oddIsPrime(babyJ[i])) product = m.mul(product, babyZ[i]);
    // Z = 1 for all: Montgomery's trick, the running products and one inverse.
    Word running = m.one();
    for (int i = 0; i < count; ++i) {
        prefix[i] = running;
        running = m.mul(running, babyZ[i]);
    }
    Word inverse;
    const Word g = inverseOrGcd<Word>(m.from(running), m.modulus(), &inverse);
    if (g != 1) {
        if (g != m.modulus()) *factor = g;
        return 0;
    }
    Word inv = m.to(inverse);
    for (int i = count - 1; i >= 0; --i) {
        const Word zInverse = m.mul(inv, prefix[i]);
        inv = m.mul(inv, babyZ[i]);
        babyX[i] = m.mul(babyX[i], zInverse);
    }
    // Giant steps kD Q from k = max(1, round(b1 / D)) on: G_{k+1} = G_k + DQ,
    // difference G_{k-1}. The primes q = j < D/2 (k = 0) are in `product`.
    uint32_t kFirst = (b1 + d / 2) / d;
    if (kFirst == 0) kFirst = 1;
    const uint32_t kLast = (b2 + d / 2) / d;
    const Point dq = curve.multiply(q, d);
    Point giant = curve.multiply(dq, kFirst), after = curve.multiply(dq, kFirst + 1);
    for (uint32_t k = kFirst; k <= kLast; ++k) {
        const uint32_t centre = k * d;
        for (int i = 0; i < count; ++i) {
            const uint32_t below = centre - babyJ[i], above = centre + babyJ[i];
            const bool hit = (below > b1 && below <= b2 && oddIsPrime(below)) ||
                             (above > b1 && above <= b2 && oddIsPrime(above));
            if (hit) product = m.mul(product, m.sub(giant.x, m.mul(babyX[i], giant.z)));
        }
        const Point next = curve.add(after, dq, giant);
        giant = after;
        after = next;
    }
    return product;
}

}  // namespace factoring
