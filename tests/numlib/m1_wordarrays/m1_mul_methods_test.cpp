// The fast multiplication against the schoolbook it replaces: every method
// at every size from 1 to 100 words within the work memory it asks for,
// _1_mul around each threshold and on unbalanced operands, large products
// against GMP, and the fall-back when the working stack is short.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "numlib/m1_wordarrays/mul_methods.h"
#include "q64/m1_wordarrays.h"
#include "numlib/tuning.h"
#include "tests/numlib/numrec_oracle.h"
#include "tests/numlib/schoolbook_reference.h"

using namespace gmptest;

namespace {
constexpr uint64_t kGuard = 0x6A09E667F3BCC908u;

Words schoolbook(const Words& x, const Words& y) {
    Words r = x;
    r.resize(x.size() + y.size());
    reference::mul(r.data(), x.size(), y.data(), y.size());
    return r;
}

// _1_mul(R, A) into a buffer with rubbish in its room.
Words viaMul(const Words& r, const Words& a) {
    Words out = r;
    out.resize(r.size() + a.size(), 0x5A5A5A5A5A5A5A5Au);
    EXPECT_EQ(_1_mul(out.data(), r.size(), a.data(), a.size()), r.size() + a.size());
    return out;
}

using Run = std::function<void(uint64_t*, const uint64_t*, const uint64_t*, uint64_t, uint64_t*)>;
struct Method {
    const char* name;
    uint64_t minN;
    bool square;
    Run run;
    uint64_t (*scratch)(uint64_t);
};

uint64_t none(uint64_t) { return 0; }

const Method kMethods[] = {
    {"schoolbook", 1, false, [](auto r, auto a, auto b, auto n, auto) { m1::mulBasecase(r, a, n, b, n); }, none},
    {"schoolbook square", 1, true, [](auto r, auto a, auto, auto n, auto) { m1::sqrBasecase(r, a, n); }, none},
    {"Karatsuba", 2, false, m1::mulKaratsuba, m1::mulKaratsubaScratch},
    {"Karatsuba square", 2, true, [](auto r, auto a, auto, auto n, auto t) { m1::sqrKaratsuba(r, a, n, t); },
     m1::sqrKaratsubaScratch},
    {"Toom-3", 9, false, m1::mulToom3, m1::mulToom3Scratch},
    {"Toom-3 square", 9, true, [](auto r, auto a, auto, auto n, auto t) { m1::sqrToom3(r, a, n, t); },
     m1::sqrToom3Scratch},
    {"Toom-4", 16, false, m1::mulToom4, m1::mulToom4Scratch},
    {"Toom-4 square", 16, true, [](auto r, auto a, auto, auto n, auto t) { m1::sqrToom4(r, a, n, t); },
     m1::sqrToom4Scratch},
    {"by size", 1, false, m1::mulN, m1::mulNScratch},
    {"square by size", 1, true, [](auto r, auto a, auto, auto n, auto t) { m1::sqrN(r, a, n, t); }, m1::sqrNScratch},
};

TEST(MulMethods, EverySizeAgainstTheSchoolbook) {
    for (const Method& m : kMethods) {
        for (uint64_t n = m.minN; n <= 100; ++n) {
            SCOPED_TRACE(testing::Message() << m.name << " n " << n);
            forEachSeed(2, [&](Gen& g) {
                const Words a = g.operand(n), b = m.square ? a : g.operand(n);
                Words r(2 * n, kGuard), tp(m.scratch(n) + 4, kGuard);
                m.run(r.data(), a.data(), b.data(), n, tp.data());
                EXPECT_EQ(r, schoolbook(a, b)) << hex(a) << " " << hex(b);
                EXPECT_EQ(Words(tp.end() - 4, tp.end()), Words(4, kGuard)) << "work memory overrun";
            });
            if (HasFailure()) return;
        }
    }
}

// Each threshold's sizes (one below, at, one above) against each other and
// against short operands; short operands against each other.
TEST(MulMethods, OneMulAroundEveryThresholdAndUnbalanced) {
    const std::vector<uint64_t> shortSizes{1, 2, 3, 5, tuning::kCopyRows - 1, tuning::kCopyRows, 17};
    std::vector<std::vector<uint64_t>> groups{{}};
    for (uint64_t t : {tuning::kMulKaratsuba, tuning::kMulToom3, tuning::kMulToom4, tuning::kSqrBasecase,
                       tuning::kSqrKaratsuba, tuning::kSqrToom3, tuning::kSqrToom4}) {
        groups.push_back({t - 1, t, t + 1});
    }
    const uint64_t used = nrtest::workingUsed();
    for (std::vector<uint64_t> sizes : groups) {
        sizes.insert(sizes.end(), shortSizes.begin(), shortSizes.end());
        for (uint64_t nr : sizes) {
            for (uint64_t na : sizes) {
                SCOPED_TRACE(testing::Message() << nr << " x " << na);
                forEachSeed(2, [&](Gen& g) {
                    const Words r = g.withLead(nr), a = g.withLead(na);
                    EXPECT_EQ(viaMul(r, a), schoolbook(r, a));
                    if (nr == na) {
                        EXPECT_EQ(viaMul(r, r), schoolbook(r, r));  // the squaring path
                    }
                });
                if (HasFailure()) return;
            }
        }
    }
    EXPECT_EQ(nrtest::workingUsed(), used);
}

TEST(MulMethods, LargeProductsAgainstGmp) {
    const std::pair<uint64_t, uint64_t> shapes[] = {{400, 400}, {1500, 1500}, {2500, 1700}, {3000, 77}, {64, 4000}};
    forEachSeed(2, [&](Gen& g) {
        for (auto [nr, na] : shapes) {
            SCOPED_TRACE(testing::Message() << nr << " x " << na);
            const Words r = g.operand(nr), a = g.operand(na);
            EXPECT_EQ(viaMul(r, a), toWords(product(Z(r), Z(a)), nr + na));
            if (nr == na) {
                EXPECT_EQ(viaMul(r, r), toWords(product(Z(r), Z(r)), 2 * nr));
            }
        }
    });
}

// Whatever the working stack holds, _1_mul gives the same words: in place
// when not even the copy of R fits (no stack word written), by products of
// halves when the copy fits but not the method's work memory, by the method
// when both fit.
TEST(MulMethods, SameWordsWhateverTheStackHolds) {
    Gen g(7);
    const std::pair<uint64_t, bool> cases[] = {
        {tuning::kMulKaratsuba, false}, {tuning::kSqrKaratsuba, true}, {150, false}, {150, true}};
    for (auto [n, square] : cases) {
        SCOPED_TRACE(testing::Message() << n << (square ? " square" : ""));
        const Words r = g.operand(n), a = square ? r : g.operand(n);
        const uint64_t copy = square ? 0 : n, method = square ? m1::sqrNScratch(n) : m1::mulScratch(n, n);
        for (uint64_t keep : {copy, copy + 1, copy + method / 2, copy + method + 1, copy + method + 2}) {
            nrtest::StackFiller filler(keep);
            const uint64_t used = nrtest::workingUsed();
            nrtest::StackCanary canary;
            EXPECT_EQ(viaMul(r, a), schoolbook(r, a)) << keep;
            EXPECT_EQ(canary.touched(), keep > (square ? method : copy)) << keep;
            EXPECT_EQ(nrtest::workingUsed(), used);
        }
    }
}

}  // namespace
