// The _9_ accessors of NumRec: lengths, derived quantities, mantissa moves,
// dropping peta digits, exponent and sign.
#include <gtest/gtest.h>

#include "q64/m9_numrec.h"
#include "tests/numlib/numrec_oracle.h"

namespace {
using nrtest::Rec;
using nrtest::Words;
constexpr uint64_t kTop = uint64_t{1} << 63;

TEST(NumRecFields, RecordWithoutMantissaWords) {
    Rec r(false, 0, {}, 2);
    EXPECT_EQ(r.w[0], 0x20000000u);
    EXPECT_EQ(_9_lenmxv(r.p()), 0u);
    Q2Value a = _9_lenadr(r.p());
    EXPECT_EQ(a.lo, 0u);
    EXPECT_EQ(a.hi, 0u);
    EXPECT_EQ(_9_blen(r.p()), 0u);
    EXPECT_EQ(_9_bitleft(r.p()), 0u);
    EXPECT_EQ(_9_expdslen1(r.p()), -1);
    EXPECT_EQ(r.w[0], 0x20000000u);
}

TEST(NumRecFields, BothLengthsAreCheckedAndKeepSignAndReservedBits) {
    Rec r(true, 0, {7}, 3, 0x55);
    EXPECT_EQ(_9_len2st(r.p(), NUMREC_LENL_MAX - 2, NUMREC_LENL_MAX), static_cast<int64_t>(NUMREC_LENL_MAX));
    EXPECT_EQ(_9_lenv(r.p()), NUMREC_LENL_MAX - 2);
    EXPECT_EQ(_9_lenl(r.p()), NUMREC_LENL_MAX);
    uint64_t before = r.w[0];
    EXPECT_EQ(_9_len2st(r.p(), 1, NUMREC_LENL_MAX + 1), -1);
    EXPECT_EQ(_9_len2st(r.p(), 5, 6), -1);  // l = L + 1
    EXPECT_EQ(r.w[0], before);
    EXPECT_EQ(_9_len2st(r.p(), 1, 3), 3);
    EXPECT_EQ(r.w[0] >> 56, 0x80u | 0x55u);  // sign and reserved bits survive
    Q2Value both = _9_lenlen(r.p());
    EXPECT_EQ(both.lo, 1u);
    EXPECT_EQ(both.hi, 3u);
}

TEST(NumRecFields, GuardedLengthStepsRefuseWithoutChange) {
    Rec r(false, 0, {1, 2}, 6);  // L = 2, capacity 4
    EXPECT_EQ(_9_lennadum(r.p(), 3), -1);
    EXPECT_EQ(_9_lennadum(r.p(), 2), 4);
    EXPECT_EQ(_9_lencnsb(r.p(), 5), -1);
    EXPECT_EQ(_9_lencnsb(r.p(), 4), 0);
    EXPECT_EQ(_9_len1ad(r.p()), 1u);
    EXPECT_EQ(_9_lennad(r.p(), 2), 3u);
    EXPECT_EQ(_9_len1sb(r.p()), 2u);
    EXPECT_EQ(_9_lennsb(r.p(), 2), 0u);
    EXPECT_EQ(_9_lenl(r.p()), 6u);
    EXPECT_EQ(_9_lenlft(r.p()), 4u);
}

TEST(NumRecFields, SignificantWordsOfAMantissaWithLeadingZeros) {
    Rec r(false, 0, {0, 0, 5}, 7);
    EXPECT_EQ(_9_len(r.p()), 1u);
    EXPECT_EQ(_9_blen(r.p()), 3u);
    Q2Value a = _9_lenadr(r.p());
    EXPECT_EQ(a.lo, reinterpret_cast<uint64_t>(r.p() + 4));
    EXPECT_EQ(a.hi, 1u);
    Q2Value b = _9_blenadr(r.p());
    EXPECT_EQ(b.lo, a.lo);
    EXPECT_EQ(b.hi, 3u);
    EXPECT_EQ(_9_bitleft(r.p()), 64u * 5 - 3);
    Q2Value left = _9_lenmlft(r.p());
    EXPECT_EQ(left.lo, 4u);
    EXPECT_EQ(left.hi, 5u);
    EXPECT_EQ(_9_cmprslen(r.p()), 1u);
    EXPECT_EQ(r.w[2], 5u);
    EXPECT_EQ(_9_cmprslen(r.p()), 1u);  // nothing to move any more
    Rec zero(false, 0, {0, 0}, 4);
    EXPECT_EQ(_9_cmprslen(zero.p()), 0u);
    Q2Value zl = _9_lenmlft(zero.p());
    EXPECT_EQ(zl.lo, 2u);
    EXPECT_EQ(zl.hi, 0u);
}

TEST(NumRecFields, ZeroWordsInFront) {
    Rec r(false, 0, {8, 9}, 6);
    EXPECT_EQ(_9_expdslenm(r.p(), 3), -1);
    EXPECT_EQ(_9_expdslen1(r.p()), 3);
    EXPECT_EQ(_9_expdslenm(r.p(), 1), 4);
    EXPECT_EQ(Words(r.w.begin() + 2, r.w.begin() + 6), (Words{0, 0, 8, 9}));
    EXPECT_EQ(_9_expdslen1(r.p()), -1);
    Rec empty(false, 0, {}, 5);
    EXPECT_EQ(_9_expdslenm(empty.p(), 2), 2);
    EXPECT_EQ(empty.w[2] | empty.w[3], 0u);
}

TEST(NumRecFields, SizeOfAProductWithAPowerOfPeta) {
    Rec r(false, 0, {0, 1, 2}, 6);  // n = 2, capacity 4
    Q2Value s = _9_expundsize(r.p(), 2);
    EXPECT_EQ(s.lo, 4u);
    EXPECT_EQ(s.hi, 0u);
    s = _9_expundsize(r.p(), 3);
    EXPECT_EQ(s.lo, 5u);
    EXPECT_EQ(s.hi, ~uint64_t{0});
    Rec zero(false, 0, {0}, 3);
    s = _9_expundsize(zero.p(), 9);
    EXPECT_EQ(s.lo, 0u);
    EXPECT_EQ(s.hi, 0u);
}

TEST(NumRecFields, DroppingPetaDigitsFreesTheFirstWord) {
    Rec once(false, 4, {5, 0}, 4);
    EXPECT_EQ(_9_divpeta1(once.p()), 0);
    EXPECT_EQ(once.lenv(), 1u);
    EXPECT_EQ(once.w[2], 9223u);
    EXPECT_EQ(once.exp(), 5);

    Rec twice(false, 4, {kTop, 0}, 4);
    EXPECT_EQ(_9_divpeta1(twice.p()), 0);
    EXPECT_EQ(twice.lenv(), 1u);
    EXPECT_EQ(twice.w[2], 1701411u);
    EXPECT_EQ(twice.exp(), 6);

    Rec small(false, 0, {NUMREC_PETA - 1}, 3);
    EXPECT_EQ(_9_divpeta1(small.p()), 0);
    EXPECT_EQ(small.lenv(), 0u);
    EXPECT_EQ(small.exp(), 1);
    Rec big(false, 0, {NUMREC_PETA}, 3);
    EXPECT_EQ(_9_divpeta1(big.p()), 0);
    EXPECT_EQ(big.lenv(), 0u);
    EXPECT_EQ(big.exp(), 2);

    Rec top(false, INT64_MAX, {kTop, 0}, 4);
    EXPECT_EQ(_9_divpeta1(top.p()), -1);
    EXPECT_EQ(top.exp(), INT64_MAX);
}

TEST(NumRecFields, ExponentOverflowLeavesTheExponent) {
    Rec r(false, INT64_MAX, {1}, 3);
    EXPECT_EQ(_9_expadd(r.p(), 1), INT64_MIN);
    EXPECT_EQ(r.exp(), INT64_MAX);
    EXPECT_EQ(_9_expadd(r.p(), -5), INT64_MAX - 5);
    Rec low(false, INT64_MIN + 1, {1}, 3);
    EXPECT_EQ(_9_expsub(low.p(), 1), INT64_MIN);
    EXPECT_EQ(low.exp(), INT64_MIN);  // stored: the record now reads as invalid
    EXPECT_EQ(_9_expsub(low.p(), 1), INT64_MIN);
    EXPECT_EQ(low.exp(), INT64_MIN);
    EXPECT_EQ(_9_absexp(low.p()), kTop);
    EXPECT_EQ(_9_exp(low.p()), INT64_MIN);
}

TEST(NumRecFields, Signs) {
    Rec a(false, 0, {1}, 3);
    Rec b(true, 0, {1}, 3);
    EXPECT_EQ(_9_signeg(a.p()), 1u);
    EXPECT_EQ(_9_signeg(a.p()), 0u);
    EXPECT_EQ(_9_signst(a.p(), 3), 3u);
    EXPECT_TRUE(a.negative());
    EXPECT_EQ(_9_opsign(a.p(), b.p()), 0u);
    EXPECT_EQ(_9_opsign(a.p(), b.p()), 1u);
    EXPECT_EQ(a.w[0] & ~NUMREC_SIGN_BIT, NUMREC_HEADER(3) | 1);
}

}  // namespace
