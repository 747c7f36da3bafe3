// Measures the method thresholds of numlib/tuning.h on this machine.
//
// Built with its own copy of the library in which the thresholds are
// variables (Q64_TUNE_THRESHOLDS). For each threshold in turn, with the ones
// tuned before it already set, it times the operation at sizes n across a
// range with the faster method switched on exactly from n (its parts,
// smaller than n, use the methods below) and switched off. The threshold is
// the size from which switching on gains the most summed over the range,
// counting a gain below 1% as none (the sum of on/off - 0.99 over the sizes
// from it is least), which a single noisy size cannot move far. Each time
// is the best of several runs; run the program a few times and take the
// median ratio per size.
//
// Build: -DQ64_BENCH=ON; run without arguments (a few minutes).
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "bench/bench_support.h"
#include "numlib/m1_wordarrays/mul_methods.h"
#include "q64/m1_wordarrays.h"
#include "numlib/m3_petapowers/peta_sizes.h"
#include "q64/m4_petadigits.h"
#include "numlib/tuning.h"

namespace tuning {
uint64_t kKernelWords = 8;
uint64_t kCopyRows = 12;
uint64_t kMulKaratsuba = 32;
uint64_t kMulToom3 = 144;
uint64_t kMulToom4 = 370;
uint64_t kSqrBasecase = 4;
uint64_t kSqrKaratsuba = 64;
uint64_t kSqrToom3 = 210;
uint64_t kSqrToom4 = 850;
uint64_t kDivDC = 90;
uint64_t kToTextDC = 8;
uint64_t kFromTextDC = 36;
}  // namespace tuning

namespace {
using namespace bench;

std::mt19937_64 rng(7);
std::vector<uint64_t> work(1 << 20);

// The operation at size n, timed with the threshold at n (on) and n + 1 (off).
using Operation = std::function<void()>;
using Setup = std::function<Operation(uint64_t)>;

double timeAt(uint64_t& threshold, uint64_t value, const Operation& op) {
    threshold = value;
    double best = 1e300;
    for (int i = 0; i < 3; ++i) best = std::min(best, bestNsPerCall(op, 2e5));
    return best;
}

uint64_t tune(const char* name, uint64_t& threshold, uint64_t from, uint64_t to, uint64_t step, const Setup& setup) {
    std::printf("%s: words, ns off, ns on, on/off\n", name);
    std::vector<uint64_t> sizes;
    std::vector<double> gain;  // on/off - 0.99
    for (uint64_t n = from; n <= to; n += step) {
        const Operation op = setup(n);
        const double off = timeAt(threshold, n + 1, op), on = timeAt(threshold, n, op);
        std::printf("  %5lu %12.1f %12.1f %6.3f\n", static_cast<unsigned long>(n), off, on, on / off);
        sizes.push_back(n);
        gain.push_back(on / off - 0.99);
    }
    uint64_t best = to + step;  // never switched on within the range
    double sum = 0, least = 0;
    for (size_t i = sizes.size(); i-- > 0;) {
        sum += gain[i];
        if (sum < least) {
            least = sum;
            best = sizes[i];
        }
    }
    threshold = best;
    std::printf("%s = %lu\n\n", name, static_cast<unsigned long>(threshold));
    std::fflush(stdout);
    return threshold;
}

Words randomNumber(uint64_t n) {
    Words w = randomWords(rng, n);
    w[0] |= uint64_t{1} << 63;
    return w;
}

Setup product(bool square) {
    return [square](uint64_t n) -> Operation {
        auto a = std::make_shared<Words>(randomNumber(n));
        auto b = std::make_shared<Words>(square ? *a : randomNumber(n));
        auto r = std::make_shared<Words>(2 * n);
        return [a, b, r, n, square] {
            if (square) {
                m1::sqrN(r->data(), a->data(), n, work.data());
            } else {
                m1::mulN(r->data(), a->data(), b->data(), n, work.data());
            }
            sink = (*r)[0];
        };
    };
}

Setup division() {
    return [](uint64_t n) -> Operation {
        auto b = std::make_shared<Words>(randomNumber(n));
        auto num = std::make_shared<Words>(randomWords(rng, 2 * n + 1));
        (*num)[0] = 0;
        (*num)[1] >>= 1;  // the top n words below B
        auto a = std::make_shared<Words>(2 * n + 1);
        return [a, b, num, n] {
            std::copy(num->begin(), num->end(), a->begin());
            sink = static_cast<uint64_t>(_1_divmn(a->data(), 2 * n + 1, b->data(), n));
        };
    };
}

Setup toText() {
    return [](uint64_t n) -> Operation {
        auto x = std::make_shared<Words>(randomNumber(n));
        auto a = std::make_shared<Words>(n);
        auto out = std::make_shared<std::string>(20 * n + 32, ' ');
        return [x, a, out, n] {
            std::copy(x->begin(), x->end(), a->begin());
            sink = _4_numtostr(out->data(), a->data(), n);
        };
    };
}

// Texts of whole peta digits that make n words.
Setup fromText() {
    return [](uint64_t n) -> Operation {
        uint64_t groups = 1;
        while (peta::wordLength(groups) < n) ++groups;
        auto text = std::make_shared<std::string>(16 * groups, '0');
        for (char& c : *text) c = static_cast<char>('0' + rng() % 10);
        auto a = std::make_shared<Words>(n + 4);
        return [text, a] { sink = _4_strntonumr(a->data(), 0, text->data(), text->size()); };
    };
}

}  // namespace

int main() {
    std::printf("threshold tuning: each time the best of 3 x 15 runs\n\n");
    tune("kMulKaratsuba", tuning::kMulKaratsuba, 8, 64, 2, product(false));
    tune("kMulToom3", tuning::kMulToom3, 40, 320, 8, product(false));
    tune("kMulToom4", tuning::kMulToom4, 100, 1000, 30, product(false));
    tune("kSqrBasecase", tuning::kSqrBasecase, 2, 24, 1, product(true));
    tune("kSqrKaratsuba", tuning::kSqrKaratsuba, 12, 120, 4, product(true));
    tune("kSqrToom3", tuning::kSqrToom3, 40, 400, 10, product(true));
    tune("kSqrToom4", tuning::kSqrToom4, 100, 1000, 30, product(true));
    tune("kDivDC", tuning::kDivDC, 12, 200, 6, division());
    tune("kToTextDC", tuning::kToTextDC, 4, 120, 4, toText());
    tune("kFromTextDC", tuning::kFromTextDC, 4, 300, 8, fromText());
    const std::pair<const char*, uint64_t> chosen[] = {
        {"kMulKaratsuba", tuning::kMulKaratsuba}, {"kMulToom3", tuning::kMulToom3},
        {"kMulToom4", tuning::kMulToom4},         {"kSqrBasecase", tuning::kSqrBasecase},
        {"kSqrKaratsuba", tuning::kSqrKaratsuba}, {"kSqrToom3", tuning::kSqrToom3},
        {"kSqrToom4", tuning::kSqrToom4},         {"kDivDC", tuning::kDivDC},
        {"kToTextDC", tuning::kToTextDC},         {"kFromTextDC", tuning::kFromTextDC}};
    for (const auto& [name, value] : chosen) std::printf("%s %lu  ", name, static_cast<unsigned long>(value));
    std::printf("\n");
    return 0;
}
