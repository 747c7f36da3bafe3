// The certificate that proves a number of 2^64 or more prime, and its check
// (internal, C++ only). F is a fully factored divisor of n - 1 or of n + 1.
//
// n - 1 = F R: when for every prime q of F some a has a^(n-1) = 1 and
// gcd(a^((n-1)/q) - 1, n) = 1 (mod n), every prime factor p of n is 1
// modulo F (Pocklington). Then n is prime when F^2 > n; and when
// F^3 > n >= F^2, writing n = c2 F^2 + c1 F + 1 with 0 <= c1 < F, n is prime
// exactly when c1^2 - 4 c2 is not a square (Brillhart, Lehmer and Selfridge,
// 1975): a composite n would be (aF + 1)(bF + 1) with c1 = a + b, c2 = ab.
//
// n + 1 = F R: with one Lucas sequence U of P and Q = 1, D = P^2 - 4 and
// Jacobi symbol (D/n) = -1, when n divides U_(n+1) and gcd(U_((n+1)/q), n) = 1
// for every odd prime q of F (for q = 2: gcd(U_((n+1)/4), n) = 1 when 4
// divides n + 1), every prime factor p of n is (D/p), +1 or -1, modulo F
// (Morrison). Then n is prime when (F - 1)^2 > n; and when
// (F - 1)^3 > n, a composite n would be (aF + e)(bF - e) with e = +1 or -1
// and 1 <= a, b < F, so that R = ab F + e (b - a): from R's digits c2, c1
// to the base F, ab and |b - a| are (c2, c1) or (c2 + 1, F - c1), and a + b
// the root of (b - a)^2 + 4ab. n is prime when no candidate a, b, e
// multiplies back to n.
#pragma once

#include <cstdint>

#include "numlib/m0_utilities/u128.h"

namespace proof {

using wordmath::u128;

struct PrimeCertificate {
    // A number below 2^128 has at most 26 distinct prime factors.
    static constexpr unsigned kMaxPrimes = 32;
    u128 n;
    int side;                       // -1: F divides n - 1; +1: F divides n + 1
    unsigned count;                 // the distinct primes q of F
    u128 prime[kMaxPrimes];         // each q, proven prime on its own
    unsigned exponent[kMaxPrimes];  // q^exponent divides F
    uint64_t witness[kMaxPrimes];   // side -1: the a of each q
    uint64_t lucasP;                // side +1: the P of the sequence (all q)
};

enum class CheckResult {
    kPrime,         // the certificate proves n prime
    kComposite,     // n is composite: a failed Fermat or Lucas condition, a gcd or a square gave a factor
    kTooSmall,      // F is too small for the side's theorem: more must be factored
    kWeakWitness,   // side -1: the witness of prime `index` gives 1; side +1: P gives U = 0 for prime `index`
    kMalformed,     // a listed q is not prime, F does not divide n -+ 1, or (D/n) != -1 (a fault of the builder)
};

struct CheckOutcome {
    CheckResult result;
    unsigned index;  // the prime whose witness is weak
};

// Checks the certificate of odd n >= 2^64 from scratch: F from the listed
// prime powers, each q's primality (below 2^64 by the deterministic test,
// above by a certificate of its own), the size of F, every witness, and the
// last step of the side's theorem.
CheckOutcome checkCertificate(const PrimeCertificate& certificate);

// The side's parts (certificate_check_minus.cpp, certificate_check_plus.cpp):
// for F = (n -+ 1)/r with the listed primes already checked.
CheckOutcome checkMinusSide(const PrimeCertificate& certificate, u128 f, u128 r);
CheckOutcome checkPlusSide(const PrimeCertificate& certificate, u128 f, u128 r);

}  // namespace proof
