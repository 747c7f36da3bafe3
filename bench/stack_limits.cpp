// The largest operands each fast path of the library handles with the
// default working stack (32,765 words in one block when nothing else is
// allocated): the figures the headers state.
//
// Multiplication and division take their work memory in one block whose size
// the methods compute (mulScratch, sqrNScratch, divDCScratch). The decimal
// conversions take it split by split, so their peak is measured: the free
// words of the stack are filled with a pattern before a conversion and the
// last word it wrote is found afterwards.
//
// Build: -DQ64_BENCH=ON; run without arguments.
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "numlib/m1_wordarrays/div_internal.h"
#include "numlib/m1_wordarrays/mul_methods.h"
#include "q64/m2_scratch.h"
#include "numlib/m2_scratch/scratch_area.h"
#include "q64/m4_petadigits.h"
#include "q64/ma_alloctext.h"

namespace {
constexpr uint64_t kPattern = 0xC0FFEE00C0FFEE00u;
constexpr uint64_t kFirstFree = scratch::kWorkingBounds + 2;

void fillFreeWords() {
    for (uint64_t i = kFirstFree; i < scratch::kAreaWords; ++i) scratch::area[i] = kPattern;
}

uint64_t wordsWritten() {
    for (uint64_t i = scratch::kAreaWords; i > kFirstFree; --i)
        if (scratch::area[i - 1] != kPattern) return i - kFirstFree;
    return 0;
}

// The largest n with need(n) no more than the largest block.
template <class Need>
uint64_t largest(Need need) {
    const uint64_t block = static_cast<uint64_t>(_2_left()) - 1;
    uint64_t n = 1;
    while (need(n + 1) <= block) ++n;
    return n;
}
}  // namespace

int main() {
    std::printf("largest block of the working stack: %ld words\n", static_cast<long>(_2_left() - 1));
    std::printf("_1_mul n x n by one method (copy of R + work): n <= %lu words\n",
                static_cast<unsigned long>(largest([](uint64_t n) { return n + m1::mulScratch(n, n); })));
    std::printf("_1_mul square: n <= %lu words\n",
                static_cast<unsigned long>(largest([](uint64_t n) { return m1::sqrNScratch(n); })));
    std::printf("_1_divmn by divide and conquer (any dividend): divisor <= %lu words\n",
                static_cast<unsigned long>(largest([](uint64_t n) { return m1::divDCScratch(3 * n, n); })));

    std::mt19937_64 rng(1);
    std::printf("decimal conversion, peak words of the working stack:\n%9s %7s %9s %9s\n", "digits", "words",
                "reading", "writing");
    for (size_t digits = 20000; digits <= 240000; digits += 20000) {
        std::string text(digits, '0');
        for (char& c : text) c = static_cast<char>('0' + rng() % 10);
        text[0] = '9';
        const uint64_t l = _4_ndsize(text.c_str(), text.size()) + 2;
        std::vector<uint64_t> rec(l);
        fillFreeWords();
        _a_strtor(rec.data(), l, text.c_str(), text.size());
        const uint64_t reading = wordsWritten();
        std::vector<char> out(_a_prdsize(rec.data()));
        fillFreeWords();
        _a_numtostr(out.data(), rec.data());
        std::printf("%9zu %7lu %9lu %9lu\n", digits, static_cast<unsigned long>(l - 3),
                    static_cast<unsigned long>(reading), static_cast<unsigned long>(wordsWritten()));
    }
    return 0;
}
