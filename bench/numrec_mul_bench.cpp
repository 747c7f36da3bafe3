// Record multiplication against GMP on the same operands: nanoseconds per call
// of _b_mul (exact product in a roomy record), _b_mulrndsz (product of two
// n-word records shortened back to n words by dropping peta digits) and
// mpz_mul, for mantissas of 1 to 256 words. GMP is only a peer here.
//
// Build: -DQ64_BENCH=ON (bench/CMakeLists.txt makes one program per .cpp,
// linked with the library and gmp); run without arguments.
#include <cstdint>
#include <cstdio>
#include <random>

#include "bench/bench_support.h"
#include "q64/mb_arithmetic.h"

namespace {
using namespace bench;

// Random words, the top bit set.
Words operand(std::mt19937_64& rng, size_t n) {
    Words w = randomWords(rng, n);
    w[0] |= uint64_t{1} << 63;
    return w;
}
}  // namespace

int main() {
    std::mt19937_64 rng(42);
    std::printf("%6s %12s %12s %12s %12s %10s %12s\n", "words", "load", "_b_mul", "_b_mulrndsz",
                "mpz_mul", "mul/gmp", "rndsz/gmp");
    for (size_t n : {1, 4, 16, 64, 256}) {
        auto a = operand(rng, n), b = operand(rng, n);
        Words x(2 * n + 2), xs(n + 2), y(n + 2);
        loadRecord(y, b);

        // Every call starts from the same x; the reload alone is timed too.
        double loadOnly = reloadedNsPerCall(x, a, [](uint64_t* p) { return p[2]; });
        double mul = reloadedNsPerCall(x, a, [&](uint64_t* p) { return _b_mul(p, y.data()); });
        double rndsz = reloadedNsPerCall(xs, a, [&](uint64_t* p) { return _b_mulrndsz(p, y.data()); });

        Mpz za(a), zb(b), zr;
        mpz_realloc2(zr, 128 * n + 64);
        double gmp = bestNsPerCall([&] {
            mpz_mul(zr, za, zb);
            sink = mpz_getlimbn(zr, 0);
        });

        std::printf("%6zu %12.1f %12.1f %12.1f %12.1f %10.2f %12.2f\n", n, loadOnly, mul, rndsz, gmp,
                    mul / gmp, rndsz / gmp);
    }
    return 0;
}
