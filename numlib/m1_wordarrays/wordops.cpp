// Bit shifts and the exact division by a small odd number of whole arrays
// (see wordops.h).
#include "numlib/m1_wordarrays/wordops.h"

namespace m1 {

// Word i takes its low bits from word i + 1, which is read before it is
// written: the walk runs from word 0 on.
uint64_t shiftLeft(uint64_t* r, const uint64_t* a, uint64_t n, unsigned k) {
    const uint64_t out = a[0] >> (64 - k);
    for (uint64_t i = 0; i + 1 < n; ++i) r[i] = (a[i] << k) | (a[i + 1] >> (64 - k));
    r[n - 1] = a[n - 1] << k;
    return out;
}

uint64_t shiftRight(uint64_t* r, const uint64_t* a, uint64_t n, unsigned k) {
    const uint64_t out = a[n - 1] << (64 - k);
    for (uint64_t i = n - 1; i > 0; --i) r[i] = (a[i] >> k) | (a[i - 1] << (64 - k));
    r[0] = a[0] >> k;
    return out;
}

// From the least significant word up: q = (x - c) * d^-1 mod 2^64 is the
// quotient word, and the next c is the borrow of x - c plus the high word of
// q * d (q * d and x - c agree in their low word).
void divExact(uint64_t* r, const uint64_t* a, uint64_t n, uint64_t d) {
    uint64_t inverse = d;  // Newton: each step doubles the bits that are right
    for (int i = 0; i < 5; ++i) inverse *= 2 - d * inverse;
    uint64_t c = 0;
    for (uint64_t i = n; i-- > 0;) {
        const uint64_t x = a[i];
        const uint64_t q = (x - c) * inverse;
        r[i] = q;
        c = static_cast<uint64_t>((static_cast<unsigned __int128>(q) * d) >> 64) + (x < c);
    }
}

}  // namespace m1
