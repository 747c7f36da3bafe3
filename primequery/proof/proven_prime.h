// Primality of every number below 2^128, never wrong (internal, C++ only):
// below 2^64 the deterministic test; from 2^64 on "composite" only with a
// witness (a divisor, a failed strong test) and "prime" only with a
// certificate that has passed checkCertificate.
#pragma once

#include "numlib/m0_utilities/u128.h"
#include "primequery/proof/prime_certificate.h"

namespace proof {

// Not reentrant: it remembers the primes it proved last.
bool isPrime128(u128 n);

// The same filter without the certificate: exact below 2^64; from 2^64 on
// "composite" with a witness as above, else "probable prime" by Baillie–PSW
// (no composite is known to pass it, but none is excluded by proof).
bool isProbablePrime128(u128 n);

// For odd n >= 2^64 that passed Baillie–PSW: builds the certificate of n
// (factoring n - 1 as far as needed, choosing the witnesses) until it checks.
// True with the checked certificate, or false when the work showed n
// composite.
bool certifyPrime(u128 n, PrimeCertificate* certificate);

}  // namespace proof
