// Building a certificate: n - 1 and n + 1 are factored side by side, each
// only as far as its theorem needs (F^3 > n, (F - 1)^3 > n), cheapest work
// first: the factor 2 and the odd primes below 2^16 on both, then rounds of
// the elliptic curve method of rising bounds on the composite parts of both,
// with the proof of a large probable-prime part between them, and at last
// the complete split of the side whose composite part is smallest. The first
// side with enough of its number in F gets its witnesses.
#include <iterator>

#include "primequery/proof/certificate_side.h"
#include "primequery/proof/proven_prime.h"

namespace proof {
namespace {

// The rounds of the elliptic curve method: curves of a level on every
// composite part of both sides. Measured on 400 random primes of 128 bits
// (CPU time per proof, 2026-12-08, the machine shared with other builds):
// these rounds with the proof before round 2: 1.89 ms; before round 1:
// 2.31; before round 3: 1.91-1.99; rounds of 1, 1, 2, 2 curves: 2.12;
// 2, 2, 2, 2, 2 curves of levels 0-4 proving before round 3: 2.07; levels
// 1-3 only: 2.38.
struct EcmRound {
    int level, curves;
};
constexpr EcmRound kRounds[] = {{0, 2}, {1, 2}, {2, 3}, {3, 3}};
// The round before which a large probable prime that would make F enough
// is proven (its own certificate).
constexpr int kProveBeforeRound = 2;

// The side whose F grows past its bound first, or null.
Side* finished(Side* sides) {
    for (int i = 0; i < 2; ++i)
        if (sides[i].enough()) return &sides[i];
    return nullptr;
}

// The side with the smallest composite part; when neither has one, a side
// with probable primes still to prove.
Side& sideToWorkOn(Side* sides) {
    auto smallest = [](const Side& s) {
        u128 best = ~u128{0};
        for (unsigned i = 0; i < s.composites().count; ++i)
            if (s.composites().value[i] < best) best = s.composites().value[i];
        return best;
    };
    return smallest(sides[1]) < smallest(sides[0]) ? sides[1] : sides[0];
}

}  // namespace

bool certifyPrime(u128 n, PrimeCertificate* certificate) {
    static_assert(sizeof(Side) < 16384, "two sides live on the call stack of every level of the recursion");
    Side sides[2] = {Side(n, -1), Side(n, 1)};
    int round = 0;
    for (;;) {
        if (Side* done = finished(sides)) {
            switch (done->finish()) {
                case Side::Finish::kPrime: *certificate = done->certificate(); return true;
                case Side::Finish::kComposite: return false;
                case Side::Finish::kNotEnough: break;  // a fault: go on factoring
            }
        }
        if (round == kProveBeforeRound) {
            for (Side& s : sides)
                if (s.proveProbableIfEnough()) break;
        }
        if (round < static_cast<int>(std::size(kRounds))) {
            for (Side& s : sides) s.ecmRound(kRounds[round].level, kRounds[round].curves);
            ++round;
            continue;
        }
        // Past the rounds: split the smallest composite part completely, or
        // prove the probable primes when no composite part is left (either
        // makes progress: n - 1 and n + 1 have finitely many prime factors).
        Side& s = sideToWorkOn(sides);
        if (s.composites().count > 0)
            s.splitSmallest();
        else
            s.proveProbable();
        ++round;
    }
}

}  // namespace proof
