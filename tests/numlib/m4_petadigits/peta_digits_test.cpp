// Decimal digits of word arrays in groups of sixteen, on known values and
// against GMP on random arrays of 1 to 200 words.
#include <gtest/gtest.h>

#include "q64/m4_petadigits.h"
#include "tests/numlib/numtext_oracle.h"

namespace {
using gmptest::forEachTrial;
using gmptest::Gen;
using nrtest::Words;
using nrtest::Z;
constexpr uint64_t kPeta = NUMREC_PETA;

TEST(PetaDigits, KnownValues) {
    char out[64] = {};
    Words twoTo64 = {1, 0};
    ASSERT_EQ(_4_numtostr(out, twoTo64.data(), 2), 20u);
    EXPECT_EQ(std::string(out, 20), "18446744073709551616");
    Words peta = {kPeta};
    ASSERT_EQ(_4_numtostr(out, peta.data(), 1), 17u);
    EXPECT_EQ(std::string(out, 17), "10000000000000000");
    Words small = {kPeta - 1};
    ASSERT_EQ(_4_numtostr(out, small.data(), 1), 16u);
    EXPECT_EQ(std::string(out, 16), "9999999999999999");
    Words zeros = {0, 0};
    ASSERT_EQ(_4_numtozstr(out, zeros.data(), 2), 16u);
    EXPECT_EQ(std::string(out, 16), "0000000000000000");
    Words z = {5, 0};  // 5 * 2^64 = 92233720368547758080
    ASSERT_EQ(_4_numtozstr(out, z.data(), 2), 32u);
    EXPECT_EQ(std::string(out, 32), "00000000000092233720368547758080");
    Words p = {kPeta - 1}, q = {kPeta};
    EXPECT_EQ(_4_cmpeta(p.data(), 1), -1);
    EXPECT_EQ(_4_cmpeta(q.data(), 1), 0);
    EXPECT_EQ(_4_cmpeta(zeros.data(), 2), 1);  // two words count as above
}

TEST(PetaDigits, RandomArraysEqualGmp) {
    forEachTrial(0x7E47C0DE + 3, 3000, [&](Gen& shapes, int i) {
        const size_t n = 1 + shapes.below(i % 50 == 0 ? 200 : 20);
        Words a = shapes.significant(n);
        const Z z(a.data(), n);
        SCOPED_TRACE(testing::Message() << "0x" << z.str());
        std::vector<char> out(20 * n);
        const uint64_t k = _4_numtostr(out.data(), a.data(), n);
        EXPECT_EQ(std::string(out.data(), k), nttest::decimal(z));
        Words b = shapes.significant(n);
        const Z zb(b.data(), n);
        std::vector<char> zout(20 * n + 16);
        const uint64_t kz = _4_numtozstr(zout.data(), b.data(), n);
        ASSERT_EQ(kz % 16, 0u);
        std::string expected = nttest::decimal(zb);
        ASSERT_LE(expected.size(), kz);
        expected.insert(0, kz - expected.size(), '0');
        EXPECT_EQ(std::string(zout.data(), kz), expected);
        EXPECT_LT(kz - nttest::decimal(zb).size(), 16u);
    });
}

}  // namespace
