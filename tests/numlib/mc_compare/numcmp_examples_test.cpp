// Comparison of NumRecs on small worked cases: signs, mantissas, one value
// held two ways, powers beyond the constant table, the tolerance comparison,
// and the no-room status that must pass through unchanged.
#include <gtest/gtest.h>

#include "q64/m3_petapowers.h"
#include "q64/mc_compare.h"
#include "tests/numlib/numdiv_oracle.h"

namespace {
using divtest::Rec;
using divtest::StackFiller;
using divtest::Words;
using divtest::Z;
using nrtest::workingUsed;
constexpr uint64_t kPeta = NUMREC_PETA;
constexpr uint64_t kLess = ~uint64_t{0};

TEST(NumCmp, SignsAndValidity) {
    Rec zero(true, 4, {0, 0}, 4), minus5(true, 0, {5}, 3), plus(false, 2, {0, 1}, 4);
    EXPECT_EQ(_c_zero(zero.p()), 0);
    EXPECT_EQ(_c_zero(minus5.p()), -1);
    EXPECT_EQ(_c_zero(plus.p()), 1);
    Rec invalid(false, INT64_MIN, {5}, 3), lowest(false, INT64_MIN + 1, {5}, 3);
    EXPECT_EQ(_c_valid(invalid.p()), 0);
    EXPECT_EQ(_c_valid(lowest.p()), 1);
    EXPECT_EQ(_c_valid(zero.p()), 1);
}

TEST(NumCmp, Mantissas) {
    Rec a(false, 3, {0, 5}, 4), b(true, -2, {5}, 3), c(false, 0, {1, 0}, 4);
    EXPECT_EQ(_c_cmpnum(a.p(), b.p()), 0);  // leading zero words do not count
    EXPECT_EQ(_c_cmpnum(b.p(), c.p()), -1);
    EXPECT_EQ(_c_cmpnum(c.p(), b.p()), 1);
    Rec m5(true, 0, {5}, 3), m7(true, 0, {7}, 3), z(false, 0, {}, 3), p7(false, 0, {7}, 3);
    EXPECT_EQ(_c_cmprnum(m5.p(), m7.p()), 1);
    EXPECT_EQ(_c_cmprnum(z.p(), m7.p()), 1);
    EXPECT_EQ(_c_cmprnum(z.p(), p7.p()), -1);
    EXPECT_EQ(_c_cmprnum(m7.p(), p7.p()), -1);
    EXPECT_EQ(_c_cmprnum(z.p(), z.p()), 0);
}

TEST(NumCmp, ComparisonWithOne) {
    Rec one(false, 0, {1}, 3), oneFine(true, -1, {kPeta}, 3), two(false, 0, {2}, 3), zero(false, 0, {}, 3);
    EXPECT_EQ(_c_cmpexp0(one.p()), 0);
    EXPECT_EQ(_c_cmpexp0(oneFine.p()), 0);
    EXPECT_EQ(_c_cmpexp0(two.p()), 1);
    EXPECT_EQ(_c_cmpexp0(zero.p()), -1);
    Rec justBelow(false, -1, {kPeta - 1}, 3);
    EXPECT_EQ(_c_cmpexp0(justBelow.p()), -1);
}

// The rough test finds the bit lengths too close (s = -1); the aligned copy
// settles it, and gives its block back.
TEST(NumCmp, OneHeldTwoWays) {
    Rec one(false, 0, {1}, 3), oneFine(false, -1, {kPeta}, 3);
    Q2Value rough = _c_cmprgh(one.p(), oneFine.p());
    EXPECT_EQ(rough.lo, 0u);
    EXPECT_EQ(rough.hi, 1u);
    EXPECT_EQ(_c_cmpabs(one.p(), oneFine.p()), 0);
    EXPECT_EQ(_c_cmpabs(oneFine.p(), one.p()), 0);
    Rec more(true, -1, {kPeta + 1}, 3);
    EXPECT_EQ(_c_cmpabs(one.p(), more.p()), -1);
    EXPECT_EQ(_c_cmpabs(more.p(), one.p()), 1);
    EXPECT_EQ(workingUsed(), 0u);
    Rec far(false, -3, {1}, 3);
    rough = _c_cmprgh(one.p(), far.p());
    EXPECT_EQ(rough.lo, 1u);
    EXPECT_EQ(rough.hi, 0u);
    rough = _c_cmpmrgh(far.p(), one.p(), 1);
    EXPECT_EQ(rough.lo, kLess);
    EXPECT_EQ(rough.hi, 0u);
}

TEST(NumCmp, PowersBeyondTheTable) {
    Rec big(false, 0, Words(40, 1), 42);
    ASSERT_EQ(_3_petaqwl(33), 28u);
    EXPECT_EQ(_c_cmpexp(big.p(), 33), 1);
    Rec exact = divtest::recordOf(nrtest::petaPower(40), 0, 40);
    EXPECT_EQ(_c_cmpexp(exact.p(), 40), 0);
    Z below = nrtest::petaPower(40);
    mpz_sub_ui(below, below, 1);
    Rec under = divtest::recordOf(below, 0, 40);
    EXPECT_EQ(_c_cmpexp(under.p(), 40), -1);
    Z above = nrtest::petaPower(40);
    mpz_add_ui(above, above, 1);  // only a word that the reduced power leaves out differs
    Rec over = divtest::recordOf(above, -2, 40);
    EXPECT_EQ(_c_cmpexp(over.p(), 38), 1);
    {
        StackFiller fill(4);
        EXPECT_EQ(_c_cmpexp(over.p(), 38), -9);
        EXPECT_EQ(_c_cmpexp(over.p(), 200), -1);  // bit lengths settle it without a block
    }
    EXPECT_EQ(_c_cmpetan(over.w.data() + 2, 34, 40), 1);
    EXPECT_EQ(workingUsed(), 0u);
}

TEST(NumCmp, Tolerance) {
    Rec three(false, 0, {3}, 3), five(false, 0, {5}, 3), four(false, 0, {4}, 3);
    EXPECT_EQ(_c_cmpdexp1(three.p(), five.p(), 0), 1);
    EXPECT_EQ(_c_cmpdexp1(three.p(), four.p(), 0), 0);
    EXPECT_EQ(_c_cmpdexp1(three.p(), three.p(), 0), -1);
    // a = 1, b = 3 * 10^16 (exponent 1): |b - a| < 10^32 whichever comes first.
    Rec a(true, 0, {1}, 3), b(false, 1, {3}, 3);
    EXPECT_EQ(_c_cmpdexp(a.p(), b.p(), 2), -1);
    EXPECT_EQ(_c_cmpdexp(b.p(), a.p(), 2), -1);
    EXPECT_EQ(_c_cmpdexp(b.p(), a.p(), 1), 1);
    // A zero of the larger exponent: |b - a| = |a|.
    Rec zero(false, 5, {}, 3), unit(true, -1, {kPeta}, 3);
    EXPECT_EQ(_c_cmpdexp1(unit.p(), zero.p(), 0), 0);
    EXPECT_EQ(_c_cmpdexp(zero.p(), unit.p(), 0), 0);
    EXPECT_EQ(_c_cmpdexp(zero.p(), zero.p(), -3), -1);
    EXPECT_EQ(workingUsed(), 0u);
}

TEST(NumCmp, NoRoomPassesThrough) {
    Rec one(false, 0, {1}, 3), oneFine(false, -1, {kPeta}, 3);
    Rec a(true, 0, {1}, 3), b(false, 1, {3}, 3);
    StackFiller fill(2);
    EXPECT_EQ(_c_cmpabs(one.p(), oneFine.p()), -9);  // the exchanged call: never 9
    EXPECT_EQ(_c_cmpabs(oneFine.p(), one.p()), -9);
    EXPECT_EQ(_c_cmpabsalc(one.p(), oneFine.p(), 1), -9);
    EXPECT_EQ(_c_cmpdexp1(a.p(), b.p(), 1), -9);
    EXPECT_EQ(_c_cmpdexp(b.p(), a.p(), 1), -9);
}

}  // namespace
