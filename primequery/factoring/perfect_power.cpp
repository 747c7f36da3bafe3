// Perfect powers: for each prime exponent k the integer k-th root, from a
// floating-point estimate corrected by exact powers; the exponents found
// multiply (r^k with r itself a power).
#include "primequery/factoring/perfect_power.h"

#include <cmath>

namespace factoring {
namespace {

// r^k, or 2^128 - 1 when it does not fit.
u128 powerOrMax(u128 r, unsigned k) {
    const u128 kMax = ~u128{0};
    u128 result = 1;
    for (unsigned i = 0; i < k; ++i) {
        if (r != 0 && result > kMax / r) return kMax;
        result *= r;
    }
    return result;
}

constexpr unsigned kPrimeExponents[] = {2,  3,  5,  7,  11, 13, 17, 19,  23,  29,  31,  37,  41,  43,  47, 53,
                                        59, 61, 67, 71, 73, 79, 83, 89, 97, 101, 103, 107, 109, 113, 127};

}  // namespace

u128 integerRoot(u128 n, unsigned k) {
    if (n < 2) return n;
    if (k == 2) return wordmath::isqrt128(n);
    // For k >= 3 the root is below 2^43, well inside a double's precision.
    const double estimate = std::pow(static_cast<double>(n), 1.0 / k);
    u128 r = static_cast<u128>(estimate);
    // The estimate is within a unit or so; step to the exact floor.
    while (r > 0 && powerOrMax(r, k) > n) --r;
    while (powerOrMax(r + 1, k) <= n) ++r;
    return r;
}

unsigned perfectPower(u128 n, uint64_t smallest, u128* root) {
    unsigned exponent = 1;
    bool again = true;
    while (again) {
        again = false;
        for (unsigned k : kPrimeExponents) {
            if (powerOrMax(smallest, k) > n) break;  // a root would be below `smallest`
            const u128 r = integerRoot(n, k);
            if (powerOrMax(r, k) == n) {
                n = r;
                exponent *= k;
                again = true;
                break;
            }
        }
    }
    *root = n;
    return exponent;
}

}  // namespace factoring
