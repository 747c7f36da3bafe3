// Splitting a composite without small factors: Pollard-Brent for the
// smallest, then the elliptic curve method for factors small enough to find
// cheaply (one-word residues below 2^64), SQUFOF below 2^62, and the
// self-initialising quadratic sieve, whose time depends on the size of the
// number alone. Should all of them
// fail, curves of rising bounds go on until one succeeds. How many curves of
// which bound come first is in factoring_tuning.h.
#include <iterator>

#include "primequery/factoring/ecm.h"
#include "primequery/factoring/factor_engine.h"
#include "primequery/factoring/factoring_tuning.h"
#include "primequery/factoring/pollard_rho.h"
#include "primequery/factoring/siqs.h"
#include "primequery/factoring/squfof.h"
#include "numlib/m0_utilities/prime_test64.h"
#include "platform/precondition.h"
#include "primequery/proof/proven_prime.h"

namespace factoring {
namespace {

int bitLength(u128 n) {
    return wordmath::hi64(n) ? 128 - __builtin_clzll(wordmath::hi64(n)) : 64 - __builtin_clzll(wordmath::lo64(n));
}

const EcmPlan& planFor(int bits) {
    for (const EcmPlan& plan : kEcmPlans)
        if (bits <= plan.maxBits) return plan;
    return kEcmPlans[std::size(kEcmPlans) - 1];
}

}  // namespace

u128 splitComposite(u128 n) {
    // A prime here would make the last resort below run forever.
    Q64_ASSERT(!(wordmath::hi64(n) == 0 ? wordmath::isPrime64(wordmath::lo64(n)) : proof::isPrime128(n)));
    const int bits = bitLength(n);
    if (bits < kRhoBits) {
        const u128 f = rhoFactor(n, kRhoSteps);
        if (f != 0) return f;
    }
    uint64_t sigma = kFirstSigma;
    const EcmPlan& plan = planFor(bits);
    for (int level = 0; level < kEcmLevels; ++level) {
        if (plan.curves[level] == 0) continue;
        const u128 f = ecmFactor(n, level, plan.curves[level], &sigma);
        if (f != 0) return f;
    }
    const bool squfofFits = bits <= kSqufofBits, siqsFits = bits >= kSiqsMinBits;
    u128 f = 0;
    if (squfofFits && bits < kSqufofFirstBits) f = squfofFactor(wordmath::lo64(n));
    if (f == 0 && siqsFits) f = siqsFactor(n);
    if (f == 0 && squfofFits && bits >= kSqufofFirstBits) f = squfofFactor(wordmath::lo64(n));
    if (f != 0) return f;
    for (int level = 0;; level = (level + 1) % kEcmLevels) {
        const u128 f = ecmFactor(n, level, kEcmCurvesPerRound, &sigma);
        if (f != 0) return f;
    }
}

}  // namespace factoring
