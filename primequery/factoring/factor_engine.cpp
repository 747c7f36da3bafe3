// The factorisation: the factor 2 by one count of trailing zero bits, the odd
// primes below 2^16 by trial division (ending early once the square of the
// next prime exceeds the rest), then a stack of pieces, each either prime
// (proven), a perfect power (its root, with the exponent as multiplicity),
// or split in two by splitComposite.
#include "primequery/factoring/factor_engine.h"

#include "primequery/factoring/pieces.h"
#include "primequery/factoring/trial_division.h"

namespace factoring {

void factorise(u128 n, PrimeFactors* out) {
    out->count = 0;
    if (n < 2) return;
    const int twos = wordmath::ctz128(n);
    out->add(2, static_cast<unsigned>(twos));
    n >>= twos;
    divideOutOddPrimes(&n, 0, kOddPrimeCount, out);
    Pieces pieces(kOddPrimeLimit);
    if (n > 1) pieces.push(n, 1);
    while (pieces.count > 0) takePiece(&pieces, [out](u128 p, unsigned t) { out->add(p, t); });
    out->sort();
}

}  // namespace factoring
