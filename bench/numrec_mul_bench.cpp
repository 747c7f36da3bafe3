// Record multiplication against GMP on the same operands: nanoseconds per call
// of _b_mul (exact product in a roomy record), _b_mulrndsz (product of two
// n-word records shortened back to n words by dropping peta digits) and
// mpz_mul, for mantissas of 1 to 256 words. GMP is only a peer here.
//
// Build: -DQ64_BENCH=ON (bench/CMakeLists.txt makes one program per .cpp,
// linked with the library and gmp); run without arguments.
#include <gmp.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <random>
#include <vector>

#include "numlib/m9/numrec.h"
#include "numlib/mb/mul.h"

namespace {
using Clock = std::chrono::steady_clock;
volatile uint64_t sink;

// Nanoseconds per call of f: the best of fifteen runs of about 2 ms each.
template <class F>
double timeIt(F f) {
    uint64_t reps = 1;
    double best = 1e300;
    for (int run = 0; run < 15;) {
        auto t0 = Clock::now();
        for (uint64_t i = 0; i < reps; ++i) f();
        double ns = std::chrono::duration<double, std::nano>(Clock::now() - t0).count();
        if (ns < 2e6) {
            reps *= 2;
            continue;
        }
        best = std::min(best, ns / static_cast<double>(reps));
        ++run;
    }
    return best;
}

std::vector<uint64_t> randomWords(std::mt19937_64& rng, size_t n) {
    std::vector<uint64_t> w(n);
    for (auto& x : w) x = rng();
    w[0] |= uint64_t{1} << 63;
    return w;
}

// Sets rec (capacity words of mantissa) to the mantissa m at exponent 0.
void load(std::vector<uint64_t>& rec, const std::vector<uint64_t>& m) {
    rec[0] = NUMREC_HEADER(rec.size()) | m.size();
    rec[1] = 0;
    std::copy(m.begin(), m.end(), rec.begin() + 2);
}
}  // namespace

int main() {
    std::mt19937_64 rng(42);
    std::printf("%6s %12s %12s %12s %12s %10s %12s\n", "words", "load", "_b_mul", "_b_mulrndsz",
                "mpz_mul", "mul/gmp", "rndsz/gmp");
    for (size_t n : {1, 4, 16, 64, 256}) {
        auto a = randomWords(rng, n), b = randomWords(rng, n);
        std::vector<uint64_t> x(2 * n + 2), xs(n + 2), y(n + 2);
        load(y, b);

        // Every call starts from the same x; the reload alone is timed too.
        double loadOnly = timeIt([&] {
            load(x, a);
            sink = x[2];
        });
        double mul = timeIt([&] {
            load(x, a);
            sink = static_cast<uint64_t>(_b_mul(x.data(), y.data()));
        });
        double rndsz = timeIt([&] {
            load(xs, a);
            sink = static_cast<uint64_t>(_b_mulrndsz(xs.data(), y.data()));
        });

        mpz_t za, zb, zr;
        mpz_inits(za, zb, zr, nullptr);
        mpz_import(za, n, 1, sizeof(uint64_t), 0, 0, a.data());
        mpz_import(zb, n, 1, sizeof(uint64_t), 0, 0, b.data());
        mpz_realloc2(zr, 128 * n + 64);
        double gmp = timeIt([&] {
            mpz_mul(zr, za, zb);
            sink = mpz_getlimbn(zr, 0);
        });
        mpz_clears(za, zb, zr, nullptr);

        std::printf("%6zu %12.1f %12.1f %12.1f %12.1f %10.2f %12.2f\n", n, loadOnly, mul, rndsz, gmp,
                    mul / gmp, rndsz / gmp);
    }
    return 0;
}
