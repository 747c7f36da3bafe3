// Splitting a composite without small factors. Below 2^64: the elliptic
// curve method on one-word residues, with SQUFOF for what it leaves below
// 2^62; above: the elliptic curve method with rising bounds. The schedule
// (bounds and curve counts by size) is in factoring_tuning.h.
#include "primequery/factoring/factor_engine.h"
#include "primequery/factoring/ecm.h"
#include "primequery/factoring/ecm_multipliers.h"
#include "primequery/factoring/factoring_tuning.h"
#include "primequery/factoring/squfof.h"
#include "platform/precondition.h"

namespace factoring {
namespace {

int bitLength(u128 n) { return 128 - (wordmath::hi64(n) ? __builtin_clzll(wordmath::hi64(n)) : 64 + __builtin_clzll(wordmath::lo64(n))); }

// The elliptic curve method through the schedule's steps from `first`
// whose level suits factors of up to half the bits of n; 0 when none found
// one.
u128 ecmSchedule(u128 n, int bits, uint64_t* sigma) {
    for (const EcmStep& step : kEcmSchedule) {
        if (step.minBits > bits) break;
        const u128 f = ecmFactor(n, step.level, step.curves, sigma);
        if (f != 0) return f;
    }
    return 0;
}

}  // namespace

u128 splitComposite(u128 n) {
    const int bits = bitLength(n);
    uint64_t sigma = kFirstSigma;
    u128 f = ecmSchedule(n, bits, &sigma);
    if (f != 0) return f;
    if (bits <= kSqufofBits) {
        f = squfofFactor(wordmath::lo64(n));
        if (f != 0) return f;
    }
    // Past the schedule: curves of the top level until one succeeds.
    for (;;) {
        f = ecmFactor(n, kEcmLevels - 1, kEcmCurvesPerRound, &sigma);
        if (f != 0) return f;
    }
}

}  // namespace factoring
