// SQUFOF: expand the continued fraction of sqrt(kn) until a form with a
// square Q_i turns up at an even step; its square root r gives a reduced form
// whose cycle, followed until P repeats, yields a factor as gcd(n, P).
#include "primequery/factoring/squfof.h"

#include <cmath>

#include "numlib/m0_utilities/u128.h"

namespace factoring {
namespace {

// Residues that squares can take modulo 64, 63 and 65: most non-squares
// fail one of these before a square root is taken.
constexpr bool squareModulo(uint64_t r, uint64_t m) {
    for (uint64_t x = 0; x < m; ++x)
        if (x * x % m == r) return true;
    return false;
}
template <uint64_t M>
constexpr uint64_t squareMask() {
    uint64_t mask = 0;
    for (uint64_t r = 0; r < M; ++r)
        if (squareModulo(r, M)) mask |= uint64_t{1} << r;
    return mask;
}
constexpr uint64_t kSquares64 = squareMask<64>(), kSquares63 = squareMask<63>();

// The root of x when x is a perfect square, else 0 (x > 0).
uint64_t squareRoot(uint64_t x) {
    if (((kSquares64 >> (x & 63)) & 1) == 0 || ((kSquares63 >> (x % 63)) & 1) == 0) return 0;
    const uint64_t r = wordmath::isqrt128(x);
    return r * r == x ? r : 0;
}

constexpr uint32_t kMultipliers[] = {1,  3,  5,  7,   11,  15,  21,  33,  35,   55,
                                     77, 105, 165, 231, 385, 1155};

// One multiplier: the factor found, or 0.
uint64_t squfofWith(uint64_t n, uint64_t k) {
    const uint64_t kn = k * n;
    const uint64_t p0 = wordmath::isqrt128(kn);
    uint64_t qPrev = 1, p = p0, q = kn - p0 * p0;
    if (q == 0) return 0;
    const uint64_t bound = 3 * static_cast<uint64_t>(2 * std::sqrt(2 * std::sqrt(static_cast<double>(kn))));
    uint64_t r = 0;
    for (uint64_t i = 2; i < bound; ++i) {
        const uint64_t b = (p0 + p) / q;
        const uint64_t pNext = b * q - p;
        const uint64_t qNext = qPrev + b * (p - pNext);  // p - pNext may wrap: the sum is exact
        qPrev = q;
        q = qNext;
        p = pNext;
        if ((i & 1) == 0 && (r = squareRoot(q)) != 0) break;
    }
    if (r == 0) return 0;
    // The reverse cycle from the square form's root.
    const uint64_t b0 = (p0 - p) / r;
    p = b0 * r + p;
    qPrev = r;
    q = (kn - p * p) / qPrev;
    for (uint64_t i = 0; i < bound; ++i) {
        const uint64_t b = (p0 + p) / q;
        const uint64_t pNext = b * q - p;
        if (pNext == p) break;
        const uint64_t qNext = qPrev + b * (p - pNext);
        qPrev = q;
        q = qNext;
        p = pNext;
    }
    const uint64_t f = wordmath::binaryGcd<uint64_t>(n, p);
    return f > 1 && f < n ? f : 0;
}

}  // namespace

uint64_t squfofFactor(uint64_t n) {
    for (uint32_t k : kMultipliers) {
        if (n > ~uint64_t{0} / k) break;
        const uint64_t f = squfofWith(n, k);
        if (f != 0) return f;
    }
    return 0;
}

}  // namespace factoring
