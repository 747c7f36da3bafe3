// Division by divide and conquer against the long division it replaces:
// divisors of every length from 1 to 100 words (the threshold inside) with
// quotients shorter than, as long as and longer than the divisor, large
// divisions against GMP, and the fall-back when the working stack is short.
#include <gtest/gtest.h>

#include <set>

#include "numlib/m1_wordarrays/div_internal.h"
#include "q64/m1_wordarrays.h"
#include "numlib/tuning.h"
#include "tests/numlib/numrec_oracle.h"
#include "tests/numlib/schoolbook_reference.h"

using namespace gmptest;

namespace {

// A dividend of na words whose top nb words are below B: random, or those of
// B less one (the hardest quotient estimates).
Words dividend(Gen& g, uint64_t na, const Words& b) {
    Words a = g.operand(na);
    const uint64_t nb = b.size();
    if (g.below(4) == 0) {
        std::copy(b.begin(), b.end(), a.begin());
        Z top(a.data(), nb);
        mpz_sub_ui(top, top, 1);
        const Words t = toWords(top, nb);
        std::copy(t.begin(), t.end(), a.begin());
    } else if (Words(a.begin(), a.begin() + nb) >= b) {
        a[0] = b[0] - 1;  // b[0] != 0
    }
    return a;
}

Words longDivision(Words a, const Words& b) {
    reference::divmn(a.data(), a.size(), b.data(), b.size());
    return a;
}

Words viaDivmn(Words a, const Words& b) {
    EXPECT_EQ(_1_divmn(a.data(), a.size(), b.data(), b.size()), static_cast<int64_t>(a.size() - b.size()));
    return a;
}

TEST(DivideAndConquer, EveryDivisorLengthAgainstTheLongDivision) {
    const uint64_t used = nrtest::workingUsed();
    for (uint64_t nb = 1; nb <= 100; ++nb) {
        const std::set<uint64_t> quotients{1, 2, nb / 2 + 1, nb, nb + 1, 2 * nb + 3};
        for (uint64_t qn : quotients) {
            SCOPED_TRACE(testing::Message() << nb << " divisor words, " << qn << " quotient words");
            forEachSeed(2, [&](Gen& g) {
                const Words b = g.divisor(nb), a = dividend(g, nb + qn, b);
                EXPECT_EQ(viaDivmn(a, b), longDivision(a, b)) << hex(a) << " / " << hex(b);
            });
            if (HasFailure()) return;
        }
    }
    EXPECT_EQ(nrtest::workingUsed(), used);
}

TEST(DivideAndConquer, LargeDivisionsAgainstGmp) {
    const std::pair<uint64_t, uint64_t> shapes[] = {{2001, 1000}, {3000, 2999}, {5000, 1300}, {2500, 700}};
    forEachSeed(2, [&](Gen& g) {
        for (auto [na, nb] : shapes) {
            SCOPED_TRACE(testing::Message() << na << " / " << nb);
            const Words b = g.divisor(nb), a = dividend(g, na, b);
            Z q, r;
            mpz_tdiv_qr(q, r, Z(a), Z(b));
            Words want = toWords(q, na - nb);
            const Words rw = toWords(r, nb);
            want.insert(want.end(), rw.begin(), rw.end());
            EXPECT_EQ(viaDivmn(a, b), want);
        }
    });
}

// With one word less than the method needs, the long division runs (no
// working-stack word written) and leaves the same words.
TEST(DivideAndConquer, FallsBackToTheLongDivisionAtTheStackEdge) {
    Gen g(11);
    for (auto [na, nb] : {std::pair<uint64_t, uint64_t>{2 * tuning::kDivDC + 1, tuning::kDivDC}, {700, 300}}) {
        SCOPED_TRACE(testing::Message() << na << " / " << nb);
        const Words b = g.divisor(nb), a = dividend(g, na, b);
        const uint64_t need = m1::divDCScratch(na, nb);
        for (uint64_t keep : {need, need + 1}) {
            nrtest::StackFiller filler(keep);
            nrtest::StackCanary canary;
            EXPECT_EQ(viaDivmn(a, b), longDivision(a, b));
            EXPECT_EQ(canary.touched(), keep > need);
        }
    }
}

}  // namespace
