// Building a certificate: n - 1 is factored only as far as the proof needs
// (F^3 > n), cheapest parts first: the factor 2, the odd primes of the
// trial-division table, then the rest split piece by piece, each piece that
// is prime joining F. The witnesses start at 2 and move to the next prime
// wherever the check calls one weak.
#include "platform/precondition.h"
#include "primequery/factoring/pieces.h"
#include "primequery/factoring/trial_division.h"
#include "primequery/proof/proven_prime.h"

namespace proof {
namespace {

using factoring::Pieces;
using factoring::PrimeFactors;

// The odd primes of the table tried on n - 1 (those below 2^12).
constexpr int kProofTrialPrimes = 563;

// Witnesses are tried among the primes below 2^16: for a prime n a weak
// witness for q has probability 1/q, so the first few succeed; for q = 2 the
// first quadratic non-residue of n serves, far below 2^16 for any n below
// 2^128.
constexpr uint64_t kFirstWitness = 2;

// The prime after a (< 2^16), or 0 after the last.
uint64_t nextWitness(uint64_t a) {
    const int i = factoring::oddPrimeIndexAbove(static_cast<uint32_t>(a));
    return i < factoring::kOddPrimeCount ? factoring::oddPrime(i) : 0;
}

void addPrime(PrimeCertificate* c, u128 q, unsigned times, u128* f) {
    for (unsigned e = 0; e < times; ++e) *f *= q;
    for (unsigned i = 0; i < c->count; ++i) {
        if (c->prime[i] == q) {
            c->exponent[i] += times;
            return;
        }
    }
    Q64_ASSERT(c->count < PrimeCertificate::kMaxPrimes);
    c->prime[c->count] = q;
    c->exponent[c->count] = times;
    c->witness[c->count] = kFirstWitness;
    ++c->count;
}

bool enough(u128 f, u128 n) { return f > n / f / f; }  // F^3 > n

// Moves primes from the pieces into F until F^3 > n or no piece is left.
void growF(PrimeCertificate* c, Pieces* pieces, u128* f) {
    while (!enough(*f, c->n) && pieces->count > 0)
        takePiece(pieces, [c, f](u128 p, unsigned t) { addPrime(c, p, t, f); });
}

}  // namespace

bool certifyPrime(u128 n, PrimeCertificate* c) {
    c->n = n;
    c->count = 0;
    u128 f = 1;
    u128 rest = n - 1;
    const int twos = wordmath::ctz128(rest);
    rest >>= twos;
    addPrime(c, 2, static_cast<unsigned>(twos), &f);
    PrimeFactors small;
    factoring::divideOutOddPrimes(&rest, 0, kProofTrialPrimes, &small);
    for (unsigned i = 0; i < small.count; ++i) addPrime(c, small.prime[i], 1, &f);
    Pieces pieces(factoring::oddPrime(kProofTrialPrimes));
    if (rest > 1) pieces.push(rest, 1);
    for (;;) {
        growF(c, &pieces, &f);
        const CheckOutcome outcome = checkCertificate(*c);
        switch (outcome.result) {
            case CheckResult::kPrime: return true;
            case CheckResult::kComposite: return false;
            case CheckResult::kTooSmall:
                // Only when every piece is in F, F = n - 1: F^3 > n then.
                Q64_ASSERT(pieces.count > 0);
                if (pieces.count == 0) return false;
                break;
            case CheckResult::kWeakWitness: {
                uint64_t& a = c->witness[outcome.index];
                a = nextWitness(a);
                Q64_ASSERT(a != 0);
                if (a == 0) return false;
                break;
            }
            case CheckResult::kMalformed:
                Q64_ASSERT(!"a certificate the builder made is malformed");
                return false;
        }
    }
}

}  // namespace proof
