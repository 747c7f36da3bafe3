// Word-array primitives against GMP's mpn layer on the same operand sizes:
// nanoseconds per call of multiplication, long division, division by one word
// and addition, for 1 to 512 words. GMP is only a peer here.
//
// Build: add_executable(words_bench words_bench.cpp) linked with q64_numlib
// and gmp; run without arguments.
#include <gmp.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <random>
#include <vector>

#include "numlib/m1/words.h"

namespace {
using Clock = std::chrono::steady_clock;
volatile uint64_t sink;

// Nanoseconds per call of f: the best of fifteen runs of about 2 ms each, so
// that other load on the machine disturbs the figure less.
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
    return w;
}
}  // namespace

int main() {
    std::mt19937_64 rng(42);
    std::printf("%6s %10s %10s %10s %10s %10s %10s %10s %10s\n", "words", "mul", "mpn_mul", "div 2n/n",
                "mpn_tdiv", "div1n", "mpn_div_1", "add", "mpn_add");
    for (size_t n : {1, 2, 3, 4, 8, 16, 32, 64, 128, 256, 512}) {
        auto a = randomWords(rng, n), b = randomWords(rng, n);
        std::vector<uint64_t> r(2 * n), scratch(2 * n + 1);
        a[0] |= 1;
        b[0] |= 1;

        double mul = timeIt([&] {
            std::copy(a.begin(), a.end(), r.begin());
            sink = _1_mul(r.data(), n, b.data(), n);
        });
        double gmul = timeIt([&] {
            mpn_mul_n(reinterpret_cast<mp_ptr>(r.data()), reinterpret_cast<mp_srcptr>(a.data()),
                      reinterpret_cast<mp_srcptr>(b.data()), static_cast<mp_size_t>(n));
            sink = r[0];
        });

        // 2n words by n words: a zero word in front keeps the quotient in room.
        std::vector<uint64_t> num = randomWords(rng, 2 * n + 1), work(2 * n + 1);
        num[0] = 0;
        double dv = timeIt([&] {
            std::copy(num.begin(), num.end(), work.begin());
            sink = static_cast<uint64_t>(_1_div(work.data(), 2 * n + 1, b.data(), n));
        });
        std::vector<uint64_t> q(n + 2), rem(n);
        double gdv = timeIt([&] {
            mpn_tdiv_qr(reinterpret_cast<mp_ptr>(q.data()), reinterpret_cast<mp_ptr>(rem.data()), 0,
                        reinterpret_cast<mp_srcptr>(num.data()), static_cast<mp_size_t>(2 * n + 1),
                        reinterpret_cast<mp_srcptr>(b.data()), static_cast<mp_size_t>(n));
            sink = q[0];
        });

        const uint64_t peta = 10000000000000000ull;
        double d1 = timeIt([&] {
            std::copy(a.begin(), a.end(), r.begin());
            sink = _1_div1n(r.data(), n, peta);
        });
        double gd1 = timeIt([&] {
            sink = mpn_divrem_1(reinterpret_cast<mp_ptr>(r.data()), 0, reinterpret_cast<mp_srcptr>(a.data()),
                                static_cast<mp_size_t>(n), peta);
        });

        double add = timeIt([&] { sink = static_cast<uint64_t>(_1_add(r.data(), n, b.data(), n)); });
        double gadd = timeIt([&] {
            sink = mpn_add_n(reinterpret_cast<mp_ptr>(r.data()), reinterpret_cast<mp_srcptr>(r.data()),
                             reinterpret_cast<mp_srcptr>(b.data()), static_cast<mp_size_t>(n));
        });
        std::printf("%6zu %10.1f %10.1f %10.1f %10.1f %10.1f %10.1f %10.1f %10.1f\n", n, mul, gmul, dv, gdv, d1, gd1,
                    add, gadd);
    }
    return 0;
}
