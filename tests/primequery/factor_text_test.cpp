// The factorisation text and the run counter beneath it.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "q64/m0_utilities.h"
#include "q64/m5_primequery.h"

namespace {

FactorList makeList(const std::vector<uint64_t>& factors, bool cofactor = false, uint64_t lo = 0, uint64_t hi = 0) {
    FactorList list;
    std::memset(&list, 0xAB, sizeof list);
    list.header = FACTOR_LIST_STARTED | factors.size() | (cofactor ? uint64_t{1} << 32 : 0);
    for (size_t i = 0; i < factors.size(); ++i) list.word[i] = factors[i];
    if (cofactor) {
        list.word[factors.size()] = lo;
        list.word[factors.size() + 1] = hi;
    }
    return list;
}

std::string text(const FactorList& list) {
    char buf[256];
    std::memset(buf, '#', sizeof buf);
    EXPECT_EQ(_5_prmfctput(buf, &list), buf);
    return buf;
}

TEST(FactorText, JoinsFactorsWithExponents) {
    EXPECT_EQ(text(makeList({2, 2, 2, 3, 3, 5})), "2^3 * 3^2 * 5");
    EXPECT_EQ(text(makeList({2, 3})), "2 * 3");
    EXPECT_EQ(text(makeList({36699233, 36699233})), "36699233^2");
    EXPECT_EQ(text(makeList(std::vector<uint64_t>(127, 2))), "2^127");
    EXPECT_EQ(text(makeList({3, 5, 5, 7, 18446744073709551557u, 18446744073709551557u})),
              "3 * 5^2 * 7 * 18446744073709551557^2");
}

TEST(FactorText, CofactorComesLast) {
    // 2 times the prime 2^64 + 13.
    EXPECT_EQ(text(makeList({2}, true, 13, 1)), "2 * 18446744073709551629");
    EXPECT_EQ(text(makeList({2, 2, 7}, true, 13, 1)), "2^2 * 7 * 18446744073709551629");
    // A cofactor alone is a prime: only the marker.
    EXPECT_EQ(text(makeList({}, true, 13, 1)), "!");
    char buf[64];
    FactorList alone = makeList({}, true, 13, 1);
    EXPECT_EQ(_5_prmfctpp(buf, &alone), 0);
    EXPECT_STREQ(buf, "18446744073709551629");
}

TEST(FactorText, PrimeGivesTheMarkerAndEmptyListTheEmptyText) {
    EXPECT_EQ(text(makeList({97})), "!");
    EXPECT_EQ(text(makeList({})), "");
}

TEST(FactorText, LongestTextsFitTheBuffer) {
    // The primes up to 97 (product about 2.3 * 10^36), each once, and the
    // largest 64-bit prime squared: both far below 256 bytes.
    std::vector<uint64_t> primes = {2, 3, 5, 7, 11, 13, 17, 19, 23, 29, 31, 37, 41,
                                    43, 47, 53, 59, 61, 67, 71, 73, 79, 83, 89, 97};
    std::string all = text(makeList(primes));
    EXPECT_EQ(all.size(), 4 + 2 * 21 + 3 * 24u);
    EXPECT_LT(all.size(), 200u);
}

TEST(FactorText, ConvertsOneRun) {
    uint64_t run[] = {7, 7, 7};
    char buf[32];
    char* end = _5_cvtfctn(run, 3, buf);
    EXPECT_EQ(std::string(buf, end), "7^3");
    end = _5_cvtfctn(run, 1, buf);
    EXPECT_EQ(std::string(buf, end), "7");
    uint64_t big[] = {~uint64_t{0}};
    end = _5_cvtfctn(big, 1, buf);
    EXPECT_EQ(std::string(buf, end), "18446744073709551615");
}

TEST(CountDuplicates, RunOfTheFirstWord) {
    const uint64_t words[] = {5, 5, 5, 6, 5};
    EXPECT_EQ(_0_cntdup(words, 5), 3u);
    EXPECT_EQ(_0_cntdup(words, 2), 2u);  // stops at the words left
    EXPECT_EQ(_0_cntdup(words, 1), 1u);
    EXPECT_EQ(_0_cntdup(words + 3, 2), 1u);
    EXPECT_EQ(_0_cntdup(nullptr, 0), 0u);
    const uint64_t same[] = {~uint64_t{0}, ~uint64_t{0}, ~uint64_t{0}};
    EXPECT_EQ(_0_cntdup(same, 3), 3u);
}

}  // namespace
