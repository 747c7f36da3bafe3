// Bit shifts and the exact division by 3 of whole arrays (see wordops.h).
#include "numlib/m1/wordops.h"

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

// From the least significant word up: q = (x - c) * 3^-1 mod 2^64 is the
// quotient word, and the next c is the borrow plus the high word of 3q,
// which is 0, 1 or 2 as q passes (2^64 - 1) / 3 and 2 (2^64 - 1) / 3.
void divExact3(uint64_t* r, const uint64_t* a, uint64_t n) {
    constexpr uint64_t kInverse3 = 0xAAAAAAAAAAAAAAABu;  // 3 * kInverse3 = 1 mod 2^64
    constexpr uint64_t kThird = 0x5555555555555555u;
    uint64_t c = 0;
    for (uint64_t i = n; i-- > 0;) {
        const uint64_t x = a[i];
        const uint64_t s = x - c;
        const uint64_t q = s * kInverse3;
        r[i] = q;
        c = (x < c) + (q > kThird) + (q > 2 * kThird);
    }
}

}  // namespace m1
