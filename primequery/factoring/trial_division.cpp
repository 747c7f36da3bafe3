// Each candidate costs one product by its inverse and a comparison (three
// products while the number exceeds 64 bits); a hit divides exactly by the
// same product.
#include "primequery/factoring/trial_division.h"

namespace factoring {

int divideOutOddPrimes(u128* n, int from, int to, PrimeFactors* out) {
    u128 m = *n;
    int i = from;
    for (; i < to; ++i) {
        const u128 p = oddPrime(i);
        if (p * p > m) {
            if (m > 1) out->add(m, 1);
            m = 1;
            break;
        }
        while (divides(i, m)) {
            m = exactQuotient(i, m);
            out->add(p, 1);
        }
    }
    *n = m;
    return i;
}

}  // namespace factoring
