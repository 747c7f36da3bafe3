// The certificate that proves a number of 2^64 or more prime, and its check
// (internal, C++ only).
//
// For n - 1 = F R with the prime factorisation of F known: when for every
// prime q of F some a has a^(n-1) = 1 and gcd(a^((n-1)/q) - 1, n) = 1
// (mod n), every prime factor p of n is 1 modulo F (Pocklington). Then n is
// prime when F^2 > n; and when F^3 > n >= F^2, writing n = c2 F^2 + c1 F + 1
// with 0 <= c1 < F, n is prime exactly when c1^2 - 4 c2 is not a square
// (Brillhart, Lehmer and Selfridge, 1975): a composite n would be
// (aF + 1)(bF + 1) with c1 = a + b and c2 = ab.
#pragma once

#include <cstdint>

#include "numlib/m0_utilities/u128.h"

namespace proof {

using wordmath::u128;

struct PrimeCertificate {
    // A number below 2^128 has at most 26 distinct prime factors.
    static constexpr unsigned kMaxPrimes = 32;
    u128 n;
    unsigned count;                 // the distinct primes q of F
    u128 prime[kMaxPrimes];         // each q, proven prime on its own
    unsigned exponent[kMaxPrimes];  // q^exponent divides n - 1 (and F)
    uint64_t witness[kMaxPrimes];   // its a
};

enum class CheckResult {
    kPrime,         // the certificate proves n prime
    kComposite,     // n is composite: a^(n-1) != 1, a gcd gave a factor, or c1^2 - 4 c2 is a square
    kTooSmall,      // F^3 <= n: more of n - 1 must be factored
    kWeakWitness,   // a^((n-1)/q) = 1 for the witness of prime `index`: another a is needed
    kMalformed,     // a listed q is not prime or F does not divide n - 1 (a fault of the builder)
};

struct CheckOutcome {
    CheckResult result;
    unsigned index;  // the prime whose witness is weak
};

// Checks the certificate of odd n >= 2^64 from scratch: F from the listed
// prime powers, each q's primality (below 2^64 by the deterministic test,
// above by a certificate of its own), the size of F, every witness, and the
// square test when F^2 <= n.
CheckOutcome checkCertificate(const PrimeCertificate& certificate);

}  // namespace proof
