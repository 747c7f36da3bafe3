// One side of a certificate: its parts are sorted as they come (a prime
// below 2^64 joins F at once, a part of 2^64 or more that passes
// Baillie–PSW waits for its proof, a perfect power gives its root, the rest
// is composite), and its witnesses are chosen once F is large enough.
#include "primequery/proof/certificate_side.h"

#include "numlib/m0_utilities/prime_test64.h"
#include "numlib/m0_utilities/probable_prime.h"
#include "platform/precondition.h"
#include "primequery/factoring/ecm.h"
#include "primequery/factoring/factoring_tuning.h"
#include "primequery/factoring/trial_division.h"
#include "primequery/proof/proven_prime.h"

namespace proof {
namespace {

using factoring::PrimeFactors;

// Trial division takes all the odd primes of the table, below 2^16: they
// are cheap to find that way, and every one of them enlarges F.
constexpr uint64_t kNoFactorBelow = factoring::kOddPrimeLimit + 1;  // 65537, a prime

// Witnesses a (side -1) run through the primes below 2^16: for a prime n a
// weak a for q has probability 1/q, and for q = 2 the first quadratic
// non-residue serves, far below 2^16 for any n below 2^128. The next prime
// after a, or 0 after the last.
uint64_t nextWitness(uint64_t a) {
    const int i = factoring::oddPrimeIndexAbove(static_cast<uint32_t>(a));
    return i < factoring::kOddPrimeCount ? factoring::oddPrime(i) : 0;
}

// F^3 > n for side -1, (F - 1)^3 > n for side +1.
bool largeEnough(u128 f, u128 n, int side) {
    if (side > 0) {
        if (f < 3) return false;
        f -= 1;
    }
    return f > n / f / f;
}

}  // namespace

Side::Side(u128 n, int sign)
    : sigma_(factoring::kFirstSigma), composites_(kNoFactorBelow), probable_(kNoFactorBelow) {
    c_.n = n;
    c_.side = sign;
    c_.count = 0;
    c_.lucasP = 0;
    u128 m = sign < 0 ? n - 1 : n + 1;
    const int twos = wordmath::ctz128(m);
    m >>= twos;
    addPrime(2, static_cast<unsigned>(twos));
    PrimeFactors small;
    factoring::divideOutOddPrimes(&m, 0, factoring::kOddPrimeCount, &small);
    for (unsigned i = 0; i < small.count; ++i) addPrime(small.prime[i], 1);
    if (m > 1) place(m, 1);
}

bool Side::enough() const { return largeEnough(f_, c_.n, c_.side); }

void Side::addPrime(u128 q, unsigned times) {
    for (unsigned e = 0; e < times; ++e) f_ *= q;
    for (unsigned i = 0; i < c_.count; ++i) {
        if (c_.prime[i] == q) {
            c_.exponent[i] += times;
            return;
        }
    }
    Q64_ASSERT(c_.count < PrimeCertificate::kMaxPrimes);
    c_.prime[c_.count] = q;
    c_.exponent[c_.count] = times;
    c_.witness[c_.count] = 2;
    ++c_.count;
}

void Side::place(u128 v, unsigned times) {
    if (wordmath::hi64(v) == 0 && wordmath::isPrime64(wordmath::lo64(v))) return addPrime(v, times);
    if (wordmath::hi64(v) != 0 && wordmath::bailliePsw<wordmath::Mont128, u128>(wordmath::Mont128(v)))
        return probable_.push(v, times);
    u128 root;
    const unsigned k = factoring::perfectPower(v, kNoFactorBelow, &root);
    if (k > 1) return place(root, times * k);
    composites_.push(v, times);
}

void Side::takeComposite(unsigned index, u128 factor) {
    const u128 v = composites_.value[index];
    const unsigned times = composites_.times[index];
    --composites_.count;
    composites_.value[index] = composites_.value[composites_.count];
    composites_.times[index] = composites_.times[composites_.count];
    place(factor, times);
    place(v / factor, times);
}

void Side::ecmRound(int level, int curves) {
    for (unsigned i = 0; i < composites_.count && !enough();) {
        const u128 d = factoring::ecmFactor(composites_.value[i], level, curves, &sigma_);
        if (d != 0)
            takeComposite(i, d);
        else
            ++i;
    }
}

bool Side::proveProbableIfEnough() {
    if (probable_.count == 0) return false;
    u128 f = f_;
    for (unsigned i = 0; i < probable_.count; ++i)
        for (unsigned e = 0; e < probable_.times[i]; ++e) {
            if (f > ~u128{0} / probable_.value[i]) return proveProbable(), true;  // past 2^128: enough
            f *= probable_.value[i];
        }
    if (!largeEnough(f, c_.n, c_.side)) return false;
    proveProbable();
    return true;
}

void Side::proveProbable() {
    while (probable_.count > 0) {
        --probable_.count;
        const u128 v = probable_.value[probable_.count];
        const unsigned times = probable_.times[probable_.count];
        if (isPrime128(v))
            addPrime(v, times);
        else
            composites_.push(v, times);  // a Baillie–PSW pseudoprime
    }
}

void Side::splitSmallest() {
    unsigned smallest = 0;
    for (unsigned i = 1; i < composites_.count; ++i)
        if (composites_.value[i] < composites_.value[smallest]) smallest = i;
    takeComposite(smallest, factoring::splitComposite(composites_.value[smallest]));
}

Side::Finish Side::finish() {
    if (c_.side > 0 && c_.lucasP == 0) c_.lucasP = 2;  // advanced to 3 below
    for (;;) {
        if (c_.side > 0) {
            // The next P with (P^2 - 4 / n) = -1 (n is no square: it passed Baillie–PSW).
            int j;
            do {
                ++c_.lucasP;
                j = wordmath::jacobiOfSmall(c_.lucasP * c_.lucasP - 4, c_.n);
            } while (j == 1 && c_.lucasP < 65535);
            if (j == 0) return Finish::kComposite;  // P^2 - 4 < n shares a factor with n
            if (j == 1) return Finish::kNotEnough;
        }
        const CheckOutcome outcome = checkCertificate(c_);
        switch (outcome.result) {
            case CheckResult::kPrime: return Finish::kPrime;
            case CheckResult::kComposite: return Finish::kComposite;
            case CheckResult::kTooSmall:
                Q64_ASSERT(!"the builder's bound and the check's disagree");
                return Finish::kNotEnough;
            case CheckResult::kMalformed:
                Q64_ASSERT(!"the builder made a malformed certificate");
                return Finish::kNotEnough;
            case CheckResult::kWeakWitness:
                if (c_.side < 0) {
                    uint64_t& a = c_.witness[outcome.index];
                    a = nextWitness(a);
                    Q64_ASSERT(a != 0);
                    if (a == 0) return Finish::kNotEnough;
                }
                break;  // side +1: the next P
        }
    }
}

}  // namespace proof
