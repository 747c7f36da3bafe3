// Record division against GMP on the same operands, in one run: a 200-word
// mantissa divided by a 100-word one. Nanoseconds per call of _b_div (the
// integer quotient, remainder dropped), _b_divrmd (quotient and remainder in
// place) and mpz_tdiv_qr (quotient and remainder), and their ratios; the
// reload of x that every record call starts with is timed alone too. Random
// words, and a divisor whose top word is all ones (the hardest trial
// quotients). GMP is only a peer here.
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
#include "numlib/mb/div.h"

namespace {
using Clock = std::chrono::steady_clock;
volatile uint64_t sink;
constexpr size_t kDividendWords = 200;
constexpr size_t kDivisorWords = 100;

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
    if (w[0] == 0) w[0] = 1;
    return w;
}

// Sets rec to the mantissa m at exponent 0; rec has at least one free word.
void load(std::vector<uint64_t>& rec, const std::vector<uint64_t>& m) {
    rec[0] = NUMREC_HEADER(rec.size()) | m.size();
    rec[1] = 0;
    std::copy(m.begin(), m.end(), rec.begin() + 2);
}

void compare(const char* label, const std::vector<uint64_t>& a, const std::vector<uint64_t>& b) {
    std::vector<uint64_t> x(a.size() + 3), y(b.size() + 2);
    load(y, b);
    double loadOnly = timeIt([&] {
        load(x, a);
        sink = x[2];
    });
    double div = timeIt([&] {
        load(x, a);
        sink = static_cast<uint64_t>(_b_div(x.data(), y.data()));
    });
    double rmd = timeIt([&] {
        load(x, a);
        sink = static_cast<uint64_t>(_b_divrmd(x.data(), y.data()));
    });

    mpz_t za, zb, zq, zr;
    mpz_inits(za, zb, zq, zr, nullptr);
    mpz_import(za, a.size(), 1, sizeof(uint64_t), 0, 0, a.data());
    mpz_import(zb, b.size(), 1, sizeof(uint64_t), 0, 0, b.data());
    mpz_realloc2(zq, 64 * (a.size() - b.size() + 2));
    mpz_realloc2(zr, 64 * (b.size() + 1));
    double gmp = timeIt([&] {
        mpz_tdiv_qr(zq, zr, za, zb);
        sink = mpz_getlimbn(zq, 0);
    });
    mpz_clears(za, zb, zq, zr, nullptr);

    std::printf("%-22s %10.1f %10.1f %10.1f %12.1f %9.2f %9.2f\n", label, loadOnly, div, rmd, gmp,
                div / gmp, rmd / gmp);
}
}  // namespace

int main() {
    std::mt19937_64 rng(42);
    std::printf("%zu-word dividend by a %zu-word divisor, ns per call\n", kDividendWords, kDivisorWords);
    std::printf("%-22s %10s %10s %10s %12s %9s %9s\n", "operands", "load", "_b_div", "_b_divrmd",
                "mpz_tdiv_qr", "div/gmp", "rmd/gmp");
    auto a = randomWords(rng, kDividendWords);
    auto b = randomWords(rng, kDivisorWords);
    compare("random", a, b);
    b[0] = ~uint64_t{0};
    compare("divisor top all ones", a, b);
    return 0;
}
