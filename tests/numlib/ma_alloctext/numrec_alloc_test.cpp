// Allocation, copies and exponent alignment of NumRecs.
#include <gtest/gtest.h>

#include "q64/m2_scratch.h"
#include "q64/m3_petapowers.h"
#include "q64/ma_alloctext.h"
#include "tests/numlib/numrec_oracle.h"

namespace {
using gmptest::forEachTrial;
using gmptest::Gen;
using nrtest::mantissaWords;
using nrtest::Rec;
using nrtest::Words;
using nrtest::workingUsed;
constexpr uint64_t kTop = uint64_t{1} << 63;

TEST(NumRecAlloc, FreshRecordsBackToBack) {
    uint64_t used = workingUsed();
    uint64_t* r = _a_alocini(5, 3);
    ASSERT_NE(r, nullptr);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(r[5 * i], NUMREC_HEADER(5));
    EXPECT_EQ(_2_sizes(), 15u);
    _2_frees();
    EXPECT_EQ(_a_alocini(5, 0), nullptr);
    EXPECT_EQ(_a_alocini(1, 4), nullptr);
    EXPECT_EQ(_a_alocini(20000, 2), nullptr);  // beyond the working stack
    EXPECT_EQ(workingUsed(), used);
}

TEST(NumRecAlloc, CompactCopies) {
    Rec src(true, -3, {0, 0, 4, 5, 6}, 9, 0x21);
    Rec dst(false, 0, {}, 6);
    EXPECT_EQ(_a_numtonum(dst.p(), src.p(), 4), -1);  // 3 words + 2 > 4
    EXPECT_EQ(dst.w[0], NUMREC_HEADER(6));
    EXPECT_EQ(_a_numovnum(dst.p(), src.p()), 0);
    EXPECT_EQ(dst.w[0], (src.w[0] & ~NUMREC_LENGTHS_MASK) | NUMREC_HEADER(6) | 3);
    EXPECT_EQ(dst.exp(), -3);
    EXPECT_EQ(mantissaWords(dst.p()), (Words{4, 5, 6}));
    EXPECT_EQ(_a_numtonum(src.p(), src.p(), 0), 0);  // in place: the zero words go
    EXPECT_EQ(mantissaWords(src.p()), (Words{4, 5, 6}));
    EXPECT_EQ(src.lenl(), 9u);
    EXPECT_TRUE(dst.guardsIntact());

    Rec into(false, 7, {1}, 4);
    EXPECT_EQ(_a_numtonump(into.p(), src.p()), -1);  // capacity 2 below 3 words
    EXPECT_EQ(mantissaWords(into.p()), (Words{1}));
    Rec zero(true, 1, {0, 0}, 4);
    EXPECT_EQ(_a_numtonump(into.p(), zero.p()), 0);
    EXPECT_EQ(into.lenv(), 0u);
    EXPECT_EQ(into.exp(), 7);
    EXPECT_FALSE(into.negative());
}

TEST(NumRecAlloc, ConstantCopyHasItsOwnLength) {
    Rec src(true, 2, {0, 0, 7, 8, 9}, 8, 0x7F);
    uint64_t* c = _a_numtocnst(src.p(), 0);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c[0], NUMREC_SIGN_BIT | NUMREC_HEADER(5) | 3);  // reserved bits cleared
    EXPECT_EQ(c[1], 2u);
    EXPECT_EQ(mantissaWords(c), (Words{7, 8, 9}));
    uint64_t* wide = _a_numtocnst(src.p(), 9);
    ASSERT_NE(wide, nullptr);
    EXPECT_EQ(wide[0], NUMREC_SIGN_BIT | NUMREC_HEADER(5) | 3);
    EXPECT_EQ(_a_numtocnst(src.p(), 4), nullptr);
}

TEST(NumRecAlloc, ScaledCopy) {
    uint64_t used = workingUsed();
    Rec src(false, 4, {0, kTop}, 5);
    uint64_t* r = _a_numtomulaloc(src.p(), 2);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r[0], NUMREC_HEADER(4) | 2);
    EXPECT_EQ(r[1], 4u);
    EXPECT_EQ(mantissaWords(r), (Words{1, 0}));
    _2_frees();
    Rec zero(true, 9, {0}, 3);
    r = _a_numtomulaloc(zero.p(), 5);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r[0], 0x20000000u);
    EXPECT_EQ(r[1], 0u);
    _2_frees();
    EXPECT_EQ(workingUsed(), used);
}

TEST(NumRecAlloc, FailedCopiesGiveTheirBlockBack) {
    uint64_t used = workingUsed();
    Rec src(false, 0, {1, 2, 3}, 5);
    EXPECT_EQ(_a_numtoaloc(src.p(), 4), nullptr);  // three words do not fit two
    EXPECT_EQ(workingUsed(), used);
    Rec full(false, 0, {kTop}, 3);
    EXPECT_EQ(_a_numtoalocadj(full.p(), 3, 1), nullptr);  // no room to scale up
    EXPECT_EQ(workingUsed(), used);
    Rec top(false, INT64_MAX, {5}, 3);
    EXPECT_EQ(_a_numtoalocadj(top.p(), 0, -1), nullptr);  // exponent overflow
    EXPECT_EQ(workingUsed(), used);
    EXPECT_EQ(_a_numtorsupaloc(1, uint64_t{1} << 40), nullptr);
    EXPECT_EQ(workingUsed(), used);
    uint64_t* r = _a_numtoalocadj(src.p(), 7, 1);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r[1], static_cast<uint64_t>(-1));
    _2_frees();
    EXPECT_EQ(workingUsed(), used);
}

TEST(NumRecAlloc, IntegerAtANegativeExponent) {
    uint64_t used = workingUsed();
    uint64_t* r = _a_numtorsupaloc(123, 3);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(_9_lenl(r), _3_petaqwl(3) + 4);
    EXPECT_EQ(static_cast<int64_t>(r[1]), -3);
    nrtest::Z expect(123);
    mpz_mul(expect, expect, nrtest::petaPower(3));
    EXPECT_EQ(mpz_cmp(nrtest::mantissaOf(r), expect), 0);
    _2_frees();
    r = _a_numtorsupaloc(0, 3);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(_9_len(r), 0u);
    EXPECT_EQ(r[1], 0u);
    _2_frees();
    EXPECT_EQ(workingUsed(), used);
}

TEST(NumRecAlign, UpNeedsAFreeWordForEachStep) {
    Rec r(false, 0, {5}, 4);
    EXPECT_EQ(_a_adjnumsup(r.p(), 1), 0);
    EXPECT_EQ(mantissaWords(r.p()), (Words{50000000000000000u}));
    EXPECT_EQ(r.exp(), -1);
    EXPECT_EQ(_a_adjnumsdown(r.p(), 1), 0);
    EXPECT_EQ(mantissaWords(r.p()), (Words{5}));
    EXPECT_EQ(r.exp(), 0);
    Rec tight(false, 0, {5}, 3);
    EXPECT_EQ(_a_adjnumsup(tight.p(), 1), -1);
    Rec zero(false, 6, {0, 0}, 4);
    EXPECT_EQ(_a_adjnumsup(zero.p(), 3), 0);
    EXPECT_EQ(zero.exp(), 6);
    EXPECT_EQ(_a_mulpetac(r.p() + 2, 2, 1, 2), -1);
}

TEST(NumRecAlign, DownTruncatesAndKeepsL) {
    Rec r(false, 0, {1, 0}, 4);
    EXPECT_EQ(_a_adjnumsdown(r.p(), 1), 0);
    EXPECT_EQ(mantissaWords(r.p()), (Words{0, 1844}));
    EXPECT_EQ(r.exp(), 1);
    Rec seven(true, 0, {7}, 3);
    EXPECT_EQ(_a_adjnumsdown(seven.p(), 1), 0);
    EXPECT_EQ(seven.lenv(), 0u);
    EXPECT_EQ(seven.exp(), 1);
    Rec many(false, -5, {kTop, 0, 0}, 5);
    EXPECT_EQ(_a_adjnumsdown(many.p(), 100), 0);  // stops dividing at zero, exponent still +100
    EXPECT_EQ(many.lenv(), 0u);
    EXPECT_EQ(many.exp(), 95);
    Rec top(false, INT64_MAX - 1, {kTop, 0}, 4);
    Words before = top.w;
    EXPECT_EQ(_a_adjnumsdown(top.p(), 2), -1);  // checked before any word changes
    EXPECT_EQ(top.w, before);
    Rec low(false, INT64_MIN + 1, {5}, 4);
    before = low.w;
    EXPECT_EQ(_a_adjnumsup(low.p(), 2), -1);
    EXPECT_EQ(low.w, before);
    EXPECT_EQ(_a_adjnumsup(low.p(), 1), 0);  // exactly -2^63 is stored: invalid, not overflow
    EXPECT_EQ(low.exp(), INT64_MIN);
}

TEST(NumRecAlign, ToAnExponentAndToALength) {
    Rec r(false, 2, {3}, 8);
    EXPECT_EQ(_a_adjnums(r.p(), 0), 0);
    EXPECT_EQ(r.exp(), 0);
    nrtest::Z v(3);
    mpz_mul(v, v, nrtest::petaPower(2));
    EXPECT_EQ(mpz_cmp(r.mantissa(), v), 0);
    EXPECT_EQ(_a_adjnums(r.p(), 0), 0);
    EXPECT_EQ(_a_adjnumszdown(r.p(), 1), 1);
    EXPECT_EQ(r.exp(), 1);
    EXPECT_EQ(_a_adjnums(r.p(), 2), 0);
    EXPECT_EQ(mpz_cmp(r.mantissa(), nrtest::Z(3)), 0);
    EXPECT_EQ(_a_adjnumszdown(r.p(), 1), 0);
    Rec low(false, INT64_MIN + 1, {1}, 4);
    EXPECT_EQ(_a_adjnums(low.p(), INT64_MAX), 0);  // a distance beyond int64 still works
    EXPECT_EQ(low.exp(), INT64_MAX);
    EXPECT_EQ(low.lenv(), 0u);
}

// Many digits at once leave the same words as one digit at a time (the long
// division path), and so does the fallback when the scratch stack is full.
TEST(NumRecAlign, ManyDigitsAtOnceEqualOneAtATime) {
    forEachTrial(0xD0D0, 600, [&](Gen& s, int i) {
        Rec a = nrtest::randomRec(s, 60, 5);
        Rec b = a;
        int64_t e = a.exp();
        bool wasZero = a.mantissa().sign() == 0;
        uint64_t k = 2 + s.below(80);
        bool full = i % 10 == 0;
        uint64_t used = workingUsed();
        if (full) _2_alocs(static_cast<uint64_t>(_2_left()) - 1);
        EXPECT_EQ(_a_adjnumsdown(a.p(), k), 0);
        if (full) _2_frees();
        EXPECT_EQ(workingUsed(), used);
        for (uint64_t j = 0; j < k; ++j) _a_adjnumsdown(b.p(), 1);
        ASSERT_EQ(a.lenv(), b.lenv());
        EXPECT_EQ(mantissaWords(a.p()), mantissaWords(b.p()));
        EXPECT_EQ(a.w[0], b.w[0]);
        // One step at a time stops moving the exponent once the value is zero;
        // k steps at once move it by k unless the value was zero from the start.
        EXPECT_EQ(a.exp(), e + (wasZero ? 0 : static_cast<int64_t>(k)));
    });
}

// Shortening to a length drops exactly as many digits as one at a time would.
TEST(NumRecAlign, ShorteningDropsTheFewestDigits) {
    forEachTrial(0x5407, 4000, [&](Gen& s, int) {
        Rec a = nrtest::randomRec(s, 40, 5);
        Rec b = a;
        uint64_t w = s.below(a.lenv() + 1);
        int64_t steps = 0;
        while (_9_len(b.p()) > w) {
            _a_adjnumsdown(b.p(), 1);
            ++steps;
        }
        ASSERT_EQ(_a_adjnumszdown(a.p(), w), steps);
        EXPECT_EQ(mantissaWords(a.p()), mantissaWords(b.p()));
        EXPECT_EQ(a.exp(), b.exp());
    });
}

}  // namespace
