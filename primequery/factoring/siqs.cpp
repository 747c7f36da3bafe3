// The quadratic sieve's run: factor base, then polynomials sieved until the
// rows outnumber the columns by kExtraRows, then the matrix and the square
// roots; when no dependency splits n, more relations and another try, up to
// kMaxTries.
#include "primequery/factoring/siqs.h"

#include <cmath>

#include "primequery/factoring/siqs_work.h"

namespace factoring {
namespace siqs {

Work work;

namespace {

// About six times the most polynomials that a 128-bit n took in the sweeps
// (534, the slowest of 1,000 random products of two 64-bit primes): a run
// that needs more gives up.
inline constexpr uint64_t kMaxPolynomials = 3000;

// The start value of the sieve bytes: 128 less the threshold in bits.
uint8_t sieveStart(const Work& w) {
    const double log2Q = std::log2(static_cast<double>(w.poly.half)) + 0.5 * w.fb.log2kn - 0.5;
    double threshold = log2Q - w.params.fudge;
    threshold = threshold < 8 ? 8 : threshold > 120 ? 120 : threshold;
    return static_cast<uint8_t>(128 - std::lround(threshold));
}

// Sieves polynomials until there are `rows` rows; false when the polynomials
// ran out first.
bool collect(Work& w, uint32_t rows) {
    while (w.rs.rows < rows) {
        if (!nextPolynomial(w) && !firstPolynomial(w)) return false;
        if (++w.polys > kMaxPolynomials) return false;
        sievePolynomial(w);
    }
    return true;
}

int bitLength(u128 n) {
    return wordmath::hi64(n) ? 128 - __builtin_clzll(wordmath::hi64(n)) : 64 - __builtin_clzll(wordmath::lo64(n));
}

}  // namespace
}  // namespace siqs

wordmath::u128 siqsFactor(wordmath::u128 n) {
    using namespace siqs;
    if (n < 9) return 0;
    if ((n & 1) == 0) return 2;
    Work& w = work;
    w.n = n;
    w.params = paramsFor(bitLength(n));
    w.polys = w.candidates = 0;
    w.rs.rows = w.rs.fullCount = w.rs.pairCount = 0;
    const u128 early = buildFactorBase(w);
    if (early != 1) return early;
    clearRelations(w);
    setupPolynomials(w);
    w.sieveInit = sieveStart(w);
    uint32_t rows = w.fb.count + 1 + kExtraRows;
    for (int tries = 0; tries < kMaxTries; ++tries, rows += kExtraRows) {
        if (tries > 0) ++w.retries;
        if (!collect(w, rows)) return 0;
        const u128 f = solveRelations(w);
        if (f != 0) return f;
    }
    return 0;
}

SiqsStats siqsStats() {
    const siqs::Work& w = siqs::work;
    return SiqsStats{w.fb.multiplier, w.fb.count,     w.polys,   w.candidates, w.rs.count,
                     w.rs.fullCount,  w.rs.pairCount, w.retries, w.notSquare};
}

}  // namespace factoring
