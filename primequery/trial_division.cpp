#include "primequery/trial_division.h"

#include "primequery/miller_rabin.h"
#include "primequery/pollard_rho.h"
#include "primequery/prime_walk.h"

namespace primequery {
namespace {

// Steps of rho before falling back on trial division: a few times the
// expected sqrt(p) steps for a factor p <= limit. Trial division up to limit
// costs about limit / ln(limit) divisions, far more.
uint64_t rhoBudget(uint64_t limit) { return 16 * isqrt128(limit) + 4096; }

bool divides(uint64_t p, u128 c) { return hi64(c) == 0 ? lo64(c) % p == 0 : mod64(c, p) == 0; }

void addPrime(FactorSplit* out, u128 p) { out->primes[out->count++] = p; }

// Divides out every table prime from `from` to `limit`; what is left is a
// prime (found when p^2 exceeds it), 1, or a rest without factors <= limit.
void trialSplit(const TableBlock* head, u128 c, uint64_t from, uint64_t limit, FactorSplit* out) {
    PrimeWalk walk(head);
    for (uint64_t p = walk.nextFrom(from); p != 0 && p <= limit; p = walk.next()) {
        if (square(p) > c) break;
        while (divides(p, c)) {
            addPrime(out, p);
            c /= p;
        }
    }
    if (c == 1) return;
    // Every table prime up to min(limit, sqrt(c)) has been tried, and the
    // table holds every prime up to limit <= P: c is prime when sqrt(c) <=
    // limit, else a rest whose prime factors all exceed limit.
    if (isqrt128(c) <= limit)
        addPrime(out, c);
    else
        out->rest *= c;
}

}  // namespace

uint64_t firstTableFactor(const TableBlock* head, u128 c, uint64_t from, uint64_t limit) {
    PrimeWalk walk(head);
    for (uint64_t p = walk.nextFrom(from); p != 0 && p <= limit; p = walk.next()) {
        if (square(p) > c) return 0;
        if (divides(p, c)) return p;
    }
    return 0;
}

bool isPrimeBelowLimitSquare(const TableBlock* head, u128 c) {
    switch (testPrimality(c)) {
        case Primality::kPrime: return true;
        case Primality::kComposite: return false;
        case Primality::kProbablePrime: break;
    }
    // c is odd and has no prime factor up to 97 here.
    return firstTableFactor(head, c, 101, kAllOnes) == 0;
}

void splitFactors(const TableBlock* head, u128 c, uint64_t from, uint64_t limit, FactorSplit* out) {
    out->count = 0;
    out->rest = 1;
    u128 pending[128];
    unsigned top = 0;
    pending[top++] = c;
    const uint64_t budget = rhoBudget(limit);
    while (top > 0) {
        u128 piece = pending[--top];
        if (piece == 1) continue;
        Primality verdict = testPrimality(piece);
        if (verdict == Primality::kPrime) {
            addPrime(out, piece);
            continue;
        }
        if (verdict == Primality::kComposite && (lo64(piece) & 1) != 0) {
            u128 f = findFactor(piece, budget);
            if (f != 0) {
                pending[top++] = f;
                pending[top++] = piece / f;
                continue;
            }
        }
        trialSplit(head, piece, from, limit, out);
    }
}

}  // namespace primequery
