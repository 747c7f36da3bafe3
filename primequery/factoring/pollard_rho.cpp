// Pollard–Brent rho on Montgomery residues: x -> x^2 + c, the differences
// multiplied together so that one gcd serves a batch of steps.
#include "primequery/factoring/pollard_rho.h"

#include "numlib/m0_utilities/montgomery.h"

namespace factoring {
namespace {

using namespace wordmath;

constexpr uint64_t kBatch = 128;  // steps per gcd

// One polynomial x^2 + c from the start value 2. Returns a factor, n when the
// polynomial collapsed (try another c), or 0 when the budget ran out.
template <class Mont, class Word>
Word brent(const Mont& mont, Word c, uint64_t* budget) {
    const Word n = mont.modulus();
    auto f = [&](Word x) { return mont.add(mont.mul(x, x), c); };
    Word y = mont.add(mont.one(), mont.one());
    Word x = y, ys = y, q = mont.one(), g = 1;
    for (uint64_t r = 1; g == 1; r *= 2) {
        x = y;
        if (*budget < r) return 0;
        *budget -= r;
        for (uint64_t i = 0; i < r; ++i) y = f(y);
        for (uint64_t k = 0; k < r && g == 1; k += kBatch) {
            uint64_t steps = r - k < kBatch ? r - k : kBatch;
            if (*budget < steps) return 0;
            *budget -= steps;
            ys = y;
            for (uint64_t i = 0; i < steps; ++i) {
                y = f(y);
                q = mont.mul(q, x > y ? x - y : y - x);
            }
            g = binaryGcd(q, n);
        }
    }
    if (g == n) {
        // The batch overshot: redo its steps one gcd at a time.
        do {
            ys = f(ys);
            g = binaryGcd(x > ys ? x - ys : ys - x, n);
        } while (g == 1);
    }
    return g;
}

template <class Mont, class Word>
Word factorWith(const Mont& mont, uint64_t budget) {
    const Word n = mont.modulus();
    for (uint64_t c = 1; budget > 0 && c < 64; ++c) {
        Word g = brent<Mont, Word>(mont, mont.to(c), &budget);
        if (g == 0) return 0;
        if (g != n) return g;
    }
    return 0;
}

}  // namespace

u128 rhoFactor(u128 n, uint64_t budget) {
    if (hi64(n) == 0) return factorWith<Mont64, uint64_t>(Mont64(lo64(n)), budget);
    return factorWith<Mont128, u128>(Mont128(n), budget);
}

}  // namespace factoring
