// Record division against GMP on the same operands, in one run: mantissas of
// 200 and 2000 words divided by ones of 100 and 1000 words. Nanoseconds per
// call of _b_div (the integer quotient, remainder dropped), _b_divrmd
// (quotient and remainder in place) and mpz_tdiv_qr (quotient and
// remainder), and their ratios; the reload of x that every record call
// starts with is timed alone too. Random words, and a divisor whose top word
// is all ones (the hardest trial quotients). Then the word arrays alone:
// _1_div of 2001 words (a zero word in front) by 1000 against mpz_tdiv_qr.
// GMP is only a peer here.
//
// Build: -DQ64_BENCH=ON (bench/CMakeLists.txt makes one program per .cpp,
// linked with the library and gmp); run without arguments.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <random>

#include "bench/bench_support.h"
#include "q64/m1_wordarrays.h"
#include "q64/mb_arithmetic.h"

namespace {
using namespace bench;

// Random words, the first one not zero.
Words operand(std::mt19937_64& rng, size_t n) {
    Words w = randomWords(rng, n);
    if (w[0] == 0) w[0] = 1;
    return w;
}

void compare(const char* label, const Words& a, const Words& b) {
    Words x(a.size() + 3), y(b.size() + 2);
    loadRecord(y, b);
    double loadOnly = reloadedNsPerCall(x, a, [](uint64_t* p) { return p[2]; });
    double div = reloadedNsPerCall(x, a, [&](uint64_t* p) { return _b_div(p, y.data()); });
    double rmd = reloadedNsPerCall(x, a, [&](uint64_t* p) { return _b_divrmd(p, y.data()); });

    Mpz za(a), zb(b), zq, zr;
    mpz_realloc2(zq, 64 * (a.size() - b.size() + 2));
    mpz_realloc2(zr, 64 * (b.size() + 1));
    double gmp = bestNsPerCall([&] {
        mpz_tdiv_qr(zq, zr, za, zb);
        sink = mpz_getlimbn(zq, 0);
    });

    std::printf("%-22s %10.1f %10.1f %10.1f %12.1f %9.2f %9.2f\n", label, loadOnly, div, rmd, gmp,
                div / gmp, rmd / gmp);
}

// _1_div of a dividend with a zero word in front (na = 2nb + 1) by nb words.
void compareWords(std::mt19937_64& rng, size_t nb) {
    Words num = operand(rng, 2 * nb + 1), b = operand(rng, nb), work(num.size());
    num[0] = 0;
    double ours = bestNsPerCall([&] {
        std::copy(num.begin(), num.end(), work.begin());
        sink = static_cast<uint64_t>(_1_div(work.data(), num.size(), b.data(), nb));
    });
    Mpz za(num), zb(b), zq, zr;
    double gmp = bestNsPerCall([&] {
        mpz_tdiv_qr(zq, zr, za, zb);
        sink = mpz_getlimbn(zq, 0);
    });
    std::printf("_1_div %zu by %zu words: %.1f ns, mpz_tdiv_qr %.1f ns, ratio %.2f\n", num.size(), nb, ours, gmp,
                ours / gmp);
}
}  // namespace

int main() {
    std::mt19937_64 rng(42);
    for (size_t divisorWords : {100, 1000}) {
        std::printf("%zu-word dividend by a %zu-word divisor, ns per call\n", 2 * divisorWords, divisorWords);
        std::printf("%-22s %10s %10s %10s %12s %9s %9s\n", "operands", "load", "_b_div", "_b_divrmd",
                    "mpz_tdiv_qr", "div/gmp", "rmd/gmp");
        auto a = operand(rng, 2 * divisorWords);
        auto b = operand(rng, divisorWords);
        compare("random", a, b);
        b[0] = ~uint64_t{0};
        compare("divisor top all ones", a, b);
    }
    compareWords(rng, 1000);
    return 0;
}
