// Word-array primitives against GMP's mpn layer on the same operand sizes:
// nanoseconds per call, and our time over GMP's, of multiplication (_1_mul
// of two n-word numbers; mpn_mul_n), squaring (_1_mul of a number by an
// equal one; mpn_sqr), long division of 2n + 1 words by n (_1_div;
// mpn_tdiv_qr), division by one word (_1_div1n; mpn_divrem_1) and addition
// (_1_add; mpn_add_n), for 1 to 4000 words. GMP is only a peer here.
//
// Build: -DQ64_BENCH=ON (bench/CMakeLists.txt makes one program per .cpp,
// linked with the library and gmp); run without arguments, or with --csv for
// one row per measurement (figure,size,ours_s,peer,peer_s: the operation, the
// words, seconds per call of ours and of the GMP function named).
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>

#include "bench/bench_support.h"
#include "q64/m1_wordarrays.h"

namespace {
using namespace bench;

void csvRow(const char* figure, size_t words, double ns, const char* peer, double peerNs) {
    std::printf("%s,%zu,%.6g,%s,%.6g\n", figure, words, ns * 1e-9, peer, peerNs * 1e-9);
}
}  // namespace

int main(int argc, char** argv) {
    const bool csv = argc > 1 && std::strcmp(argv[1], "--csv") == 0;
    std::mt19937_64 rng(42);
    if (csv)
        std::printf("figure,size,ours_s,peer,peer_s\n");
    else
        std::printf("%6s %10s %10s %6s %10s %6s %11s %6s %9s %6s %8s %6s\n", "words", "mul", "mpn_mul", "ratio",
                    "square", "ratio", "div 2n/n", "ratio", "div1n", "ratio", "add", "ratio");
    for (size_t n : {1, 2, 3, 4, 8, 16, 32, 64, 128, 256, 512, 1000, 2000, 4000}) {
        auto a = randomWords(rng, n), b = randomWords(rng, n);
        Words r(2 * n);
        a[0] |= 1;
        b[0] |= 1;

        double mul = bestNsPerCall([&] {
            std::copy(a.begin(), a.end(), r.begin());
            sink = _1_mul(r.data(), n, b.data(), n);
        });
        double gmul = bestNsPerCall([&] {
            mpn_mul_n(limbs(r), limbs(a), limbs(b), limbCount(n));
            sink = r[0];
        });
        double sqr = bestNsPerCall([&] {
            std::copy(a.begin(), a.end(), r.begin());
            sink = _1_mul(r.data(), n, a.data(), n);
        });
        double gsqr = bestNsPerCall([&] {
            mpn_sqr(limbs(r), limbs(a), limbCount(n));
            sink = r[0];
        });

        // 2n + 1 words by n words: a zero word in front keeps the quotient in room.
        Words num = randomWords(rng, 2 * n + 1), work(2 * n + 1);
        num[0] = 0;
        double dv = bestNsPerCall([&] {
            std::copy(num.begin(), num.end(), work.begin());
            sink = static_cast<uint64_t>(_1_div(work.data(), 2 * n + 1, b.data(), n));
        });
        Words q(n + 2), rem(n);
        double gdv = bestNsPerCall([&] {
            mpn_tdiv_qr(limbs(q), limbs(rem), 0, limbs(num), limbCount(2 * n + 1), limbs(b), limbCount(n));
            sink = q[0];
        });

        const uint64_t peta = 10000000000000000ull;
        double d1 = bestNsPerCall([&] {
            std::copy(a.begin(), a.end(), r.begin());
            sink = _1_div1n(r.data(), n, peta);
        });
        double gd1 = bestNsPerCall([&] {
            sink = mpn_divrem_1(limbs(r), 0, limbs(a), limbCount(n), peta);
        });

        double add = bestNsPerCall([&] { sink = static_cast<uint64_t>(_1_add(r.data(), n, b.data(), n)); });
        double gadd = bestNsPerCall([&] {
            sink = mpn_add_n(limbs(r), limbs(r), limbs(b), limbCount(n));
        });
        if (csv) {
            csvRow("mul", n, mul, "mpn_mul_n", gmul);
            csvRow("square", n, sqr, "mpn_sqr", gsqr);
            csvRow("div_2n_by_n", n, dv, "mpn_tdiv_qr", gdv);
            csvRow("div_by_word", n, d1, "mpn_divrem_1", gd1);
            csvRow("add", n, add, "mpn_add_n", gadd);
            continue;
        }
        std::printf("%6zu %10.1f %10.1f %6.2f %10.1f %6.2f %11.1f %6.2f %9.1f %6.2f %8.1f %6.2f\n", n, mul, gmul,
                    mul / gmul, sqr, sqr / gsqr, dv, dv / gdv, d1, d1 / gd1, add, add / gadd);
    }
    return 0;
}
