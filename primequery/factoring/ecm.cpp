// The elliptic curve method: curves of Suyama's family one after another,
// stage 1 as one ladder over the multiplier of the level, then stage 2.
// Numbers below 2^64 take one-word Montgomery residues.
#include "primequery/factoring/ecm.h"

#include "primequery/factoring/ecm_curve.h"
#include "primequery/factoring/ecm_multipliers.h"
#include "primequery/factoring/ecm_stage2.h"

namespace factoring {
namespace {

// Stage 2 reaches this multiple of the stage-1 bound.
constexpr uint32_t kStage2Factor = 50;

template <class Mont, class Word>
Word ecmWith(Word n, int level, int curves, uint64_t* sigma) {
    const Mont mont(n);
    EcmCurve<Mont, Word> curve(mont);
    const EcmScalar k = ecmScalar(level);
    const uint32_t b1 = kEcmB1[level];
    uint32_t b2 = kStage2Factor * b1;
    if (b2 >= kStage2Limit) b2 = kStage2Limit - 1;
    for (int c = 0; c < curves; ++c) {
        CurvePoint<Word> start;
        Word g = curve.setup((*sigma)++, &start);
        if (g != 1) {
            if (g != n) return g;
            continue;
        }
        const CurvePoint<Word> q = curve.multiply(start, k.bits, [&k](int i) { return k.bit(i); }, true);
        g = wordmath::binaryGcd<Word>(q.z, n);
        if (g != 1) {
            if (g != n) return g;
            continue;  // every factor's order was smooth: another curve
        }
        Word found = 0;
        const Word product = stageTwo(curve, q, b1, b2, &found);
        if (found != 0) return found;
        g = wordmath::binaryGcd<Word>(product, n);
        if (g != 1 && g != n) return g;
    }
    return 0;
}

}  // namespace

u128 ecmFactor(u128 n, int level, int curves, uint64_t* sigma) {
    if (wordmath::hi64(n) == 0)
        return ecmWith<wordmath::Mont64, uint64_t>(wordmath::lo64(n), level, curves, sigma);
    return ecmWith<wordmath::Mont128, u128>(n, level, curves, sigma);
}

}  // namespace factoring
