// Decimal text conversion of records against GMP on the same numbers:
// microseconds per conversion of integers of 1,000 to 200,000 digits, text
// to record (_a_strtor; mpz_set_str) and record to text (_a_numtostr on a
// fresh copy of the record; mpz_get_str), and for texts of at most 16,384
// characters _a_prtnum through the scratch area. Long numbers go by halves
// in both directions (a few products or divisions of the whole number), as
// GMP's do. GMP is only a peer here.
//
// Build: -DQ64_BENCH=ON (bench/CMakeLists.txt makes one program per .cpp,
// linked with the library and gmp); run without arguments.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "bench/bench_support.h"
#include "q64/m4_petadigits.h"
#include "q64/ma_alloctext.h"

namespace {
using bench::sink;

// Microseconds per call of f: the best of fifteen runs of about 5 ms each.
template <class F>
double microseconds(F f) {
    return bench::bestNsPerCall(f, 5e6) / 1e3;
}

std::string randomDigits(std::mt19937_64& rng, size_t n) {
    std::string s(n, '0');
    for (auto& c : s) c = static_cast<char>('0' + rng() % 10);
    s[0] = static_cast<char>('1' + rng() % 9);
    return s;
}
}  // namespace

int main() {
    std::mt19937_64 rng(42);
    std::printf("%7s %12s %12s %12s %12s %12s %10s %10s\n", "digits", "_a_strtor", "set_str", "_a_numtostr",
                "_a_prtnum", "get_str", "in/gmp", "out/gmp");
    for (size_t digits : {1000, 10000, 100000, 200000}) {
        const std::string text = randomDigits(rng, digits);
        const uint64_t l = _4_ndsize(text.c_str(), text.size()) + 2;
        std::vector<uint64_t> rec(l), work(l);
        if (_a_strtor(rec.data(), l, text.c_str(), text.size()) != 0) return 1;

        bench::Mpz z;
        mpz_set_str(z, text.c_str(), 10);
        std::vector<char> out(_a_prdsize(rec.data()));
        std::vector<char> gmpOut(digits + 2);

        // The two agree before anything is timed.
        std::copy(rec.begin(), rec.end(), work.begin());
        _a_numtostr(out.data(), work.data());
        mpz_get_str(gmpOut.data(), 10, z);
        if (std::strcmp(out.data() + 1, gmpOut.data()) != 0) return 2;
        const bool printable = digits < 16384;
        const char* printed = printable ? _a_prtnum(rec.data()) : nullptr;
        if (printable && (printed == nullptr || std::strcmp(printed + 1, gmpOut.data()) != 0)) return 3;

        double in = microseconds([&] { sink = static_cast<uint64_t>(_a_strtor(work.data(), l, text.c_str(), text.size())); });
        double gmpIn = microseconds([&] {
            mpz_set_str(z, text.c_str(), 10);
            sink = mpz_getlimbn(z, 0);
        });
        double outPlain = microseconds([&] {
            std::copy(rec.begin(), rec.end(), work.begin());
            sink = static_cast<uint64_t>(_a_numtostr(out.data(), work.data())[1]);
        });
        double outPrinted =
            printable ? microseconds([&] { sink = static_cast<uint64_t>(_a_prtnum(rec.data())[1]); }) : 0;
        double gmpOutTime = microseconds([&] { sink = static_cast<uint64_t>(mpz_get_str(gmpOut.data(), 10, z)[0]); });

        std::printf("%7zu %12.1f %12.1f %12.1f %12.1f %12.1f %10.1f %10.1f\n", digits, in, gmpIn, outPlain,
                    outPrinted, gmpOutTime, in / gmpIn, outPlain / gmpOutTime);
    }
    return 0;
}
