// Stage 2 of the elliptic curve method, the standard continuation with baby
// and giant steps (internal, C++ only).
//
// After stage 1 the point Q has an order whose largest prime factor q, if
// some factor p of n makes it small, is sought in (B1, B2]. Each such q is
// k D + j or k D - j with 0 < j < D/2 prime to D: then [kD]Q and [j]Q have the
// same x modulo p, and p divides x_k - x_j (baby and giant steps are made
// Z = 1, by one inversion for each kind). The product of these differences
// over all primes q goes into one gcd.
#pragma once

#include <cstdint>

#include "primequery/factoring/ecm_curve.h"
#include "primequery/factoring/stage2_primes.h"

namespace factoring {

// D = 210 for short ranges, 2310 (fewer giant steps, more baby steps) for
// long ones.
inline constexpr uint32_t kLongStage2 = 60000;
inline constexpr int kBabySteps = 240;   // the j < 1155 prime to 2310
inline constexpr int kGiantSteps = 512;  // k D up to 2^20 + D/2 for D = 2310 (287 for D = 210)

// The static work record of stage 2: it never runs twice at once.
template <class Word>
struct StageTwoWork {
    Word babyX[kBabySteps], babyZ[kBabySteps];
    uint16_t babyJ[kBabySteps];
    Word giantX[kGiantSteps], giantZ[kGiantSteps];
    Word prefix[kGiantSteps];
};

// x_i = X_i / Z_i for all i by Montgomery's trick: the running products,
// one inverse, and two products per point back. False when the product of
// the Z shares a factor with n (stored in *factor unless it is n).
template <class Mont, class Word>
bool normalise(const Mont& m, Word* x, const Word* z, int count, Word* prefix, Word* factor) {
    Word running = m.one();
    for (int i = 0; i < count; ++i) {
        prefix[i] = running;
        running = m.mul(running, z[i]);
    }
    Word inverse;
    const Word g = inverseOrGcd<Word>(m.from(running), m.modulus(), &inverse);
    if (g != 1) {
        if (g != m.modulus()) *factor = g;
        return false;
    }
    Word inv = m.to(inverse);
    for (int i = count - 1; i >= 0; --i) {
        const Word zInverse = m.mul(inv, prefix[i]);
        inv = m.mul(inv, z[i]);
        x[i] = m.mul(x[i], zInverse);
    }
    return true;
}

// The baby steps j Q for the odd j < D/2 prime to D (Q_{j+2} = Q_j + 2Q,
// difference Q_{j-2}); returns their count. A prime q = j itself in
// (b1, b2] multiplies Z_j (jQ is the neutral point modulo p | Z_j) into
// *product.
template <class Mont, class Word>
int babySteps(const EcmCurve<Mont, Word>& curve, const CurvePoint<Word>& q, uint32_t d, uint32_t b1, uint32_t b2,
              StageTwoWork<Word>& w, Word* product) {
    const Mont& m = curve.mont();
    const CurvePoint<Word> q2 = curve.dbl(q);
    CurvePoint<Word> previous = q, current = curve.add(q2, q, q);  // Q, 3Q
    int count = 0;
    w.babyX[0] = q.x, w.babyZ[0] = q.z, w.babyJ[0] = 1, count = 1;
    for (uint32_t j = 3; j < d / 2; j += 2) {
        if (j % 3 != 0 && j % 5 != 0 && j % 7 != 0 && (d == 210 || j % 11 != 0)) {
            w.babyX[count] = current.x, w.babyZ[count] = current.z, w.babyJ[count] = static_cast<uint16_t>(j);
            if (j > b1 && j <= b2 && oddIsPrime(j)) *product = m.mul(*product, current.z);
            ++count;
        }
        const CurvePoint<Word> next = curve.add(current, q2, previous);
        previous = current;
        current = next;
    }
    return count;
}

// The product of x_k - x_j over the primes q of (b1, b2], b2 below
// kStage2Limit (not reentrant: static work arrays); 0 when some point cannot
// be normalised (its Z shares a factor with n: the caller's gcd with 0
// gives n, or that factor is found by `factor`). `factor` receives a factor
// found on the way (else stays 0).
template <class Mont, class Word>
Word stageTwo(const EcmCurve<Mont, Word>& curve, const CurvePoint<Word>& q, uint32_t b1, uint32_t b2, Word* factor) {
    static StageTwoWork<Word> w;
    const Mont& m = curve.mont();
    const uint32_t d = b2 > kLongStage2 ? 2310 : 210;
    Word product = m.one();
    const int babies = babySteps(curve, q, d, b1, b2, w, &product);
    // Giant steps kD Q from k = max(1, round(b1 / D)) on: G_{k+1} = G_k + DQ,
    // difference G_{k-1}.
    uint32_t kFirst = (b1 + d / 2) / d;
    if (kFirst == 0) kFirst = 1;
    const int giants = static_cast<int>((b2 + d / 2) / d - kFirst + 1);
    const CurvePoint<Word> dq = curve.multiply(q, d);
    CurvePoint<Word> giant = curve.multiply(dq, kFirst), after = curve.multiply(dq, kFirst + 1);
    for (int k = 0; k < giants; ++k) {
        w.giantX[k] = giant.x, w.giantZ[k] = giant.z;
        const CurvePoint<Word> next = curve.add(after, dq, giant);
        giant = after;
        after = next;
    }
    if (!normalise(m, w.babyX, w.babyZ, babies, w.prefix, factor) ||
        !normalise(m, w.giantX, w.giantZ, giants, w.prefix, factor))
        return 0;
    for (int k = 0; k < giants; ++k) {
        const uint32_t centre = (kFirst + static_cast<uint32_t>(k)) * d;
        for (int i = 0; i < babies; ++i) {
            const uint32_t below = centre - w.babyJ[i], above = centre + w.babyJ[i];
            const bool hit = (below > b1 && below <= b2 && oddIsPrime(below)) ||
                             (above > b1 && above <= b2 && oddIsPrime(above));
            if (hit) product = m.mul(product, m.sub(w.giantX[k], w.babyX[i]));
        }
    }
    return product;
}

}  // namespace factoring
