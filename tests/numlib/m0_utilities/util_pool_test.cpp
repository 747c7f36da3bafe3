// The record pool, self-described regions, the slot register, the status word,
// the argument record, and the unnamed text and word helpers.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "numlib/m0_utilities/internal_helpers.h"
#include "numlib/m0_utilities/static_records.h"
#include "q64/m0_utilities.h"

namespace {

constexpr uint64_t kOnes = ~uint64_t{0};
constexpr uint64_t kInvalidExponent = uint64_t{1} << 63;

// Each test starts with the pool as at load (the whole-pool use cannot be
// released through the interface).
class Pool : public ::testing::Test {
protected:
    void SetUp() override {
        for (uint64_t& d : m0::recordPool.descriptors) d = m0::kFree;
        for (uint64_t& w : m0::recordPool.words) w = 0x5A5A5A5A5A5A5A5Au;
    }
    void TearDown() override { SetUp(); }
};

void expectEmptyRecord(const uint64_t* item, uint64_t z) {
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item[0], z << 28);
    EXPECT_EQ(item[1], kInvalidExponent);
}

TEST_F(Pool, RegionsFormatEmptyRecordsAndRefuseASecondUse) {
    EXPECT_EQ(m0::recordPool.size, 8192u);
    EXPECT_EQ(poolregion(0, 0), 8);  // size 0 means 32 words
    for (uint64_t i = 0; i < 8; ++i) expectEmptyRecord(poolitem(0, i), 32);
    EXPECT_EQ(poolitem(0, 0), poolbase(0));
    EXPECT_EQ(poolitem(0, 1), poolbase(0) + 32);
    EXPECT_EQ(poolitem(0, 8), nullptr);
    EXPECT_EQ(poolitem(0, 0)[2], 0x5A5A5A5A5A5A5A5Au);  // the rest of an item is not touched
    EXPECT_EQ(poolregion(0, 32), -1);
    EXPECT_EQ(poolfree(0), 0);
    EXPECT_EQ(poolfree(0), 1);
    EXPECT_EQ(poolitem(0, 0), nullptr);
    EXPECT_EQ(poolregion(0, 5), 51);  // 256 div 5
    expectEmptyRecord(poolitem(0, 50), 5);
    EXPECT_EQ(poolitem(0, 50), poolbase(0) + 250);
}

TEST_F(Pool, RegionsCheckTheirArguments) {
    EXPECT_EQ(poolregion(31, 256), 1);
    EXPECT_EQ(poolbase(31), m0::recordPool.words + 31 * 256);
    EXPECT_EQ(poolregion(1, 2), -1);
    EXPECT_EQ(poolregion(1, 257), -1);
    EXPECT_EQ(poolregion(32, 8), -1);
    EXPECT_EQ(poolregion(98, 8), -1);
    EXPECT_EQ(poolregion(1, 3), 85);
    EXPECT_EQ(poolitem(32, 0), nullptr);
    EXPECT_EQ(poolitem(2, 0), nullptr);  // free region
    EXPECT_EQ(poolbase(32), nullptr);
    EXPECT_EQ(poolfree(32), -1);
    EXPECT_EQ(poolfree(99), -1);
    // Regions do not overlap: formatting region 2 leaves region 1's items.
    EXPECT_EQ(poolregion(2, 256), 1);
    for (uint64_t i = 0; i < 85; ++i) expectEmptyRecord(poolitem(1, i), 3);
}

TEST_F(Pool, WholePoolAndRegionsExcludeEachOther) {
    ASSERT_EQ(poolregion(7, 16), 16);
    EXPECT_EQ(poolwhole(64), -1);
    EXPECT_EQ(poolregion(99, 64), -1);
    EXPECT_EQ(poolfree(7), 0);
    EXPECT_EQ(poolregion(99, 0), 256);  // the whole pool in items of 32 words
    EXPECT_EQ(poolitem32(255), m0::recordPool.words + 255 * 32);
    expectEmptyRecord(poolitem32(255), 32);
    EXPECT_EQ(poolitem32(256), nullptr);
    EXPECT_EQ(poolregion(0, 8), -1);
    EXPECT_EQ(poolwhole(64), -1);
    EXPECT_EQ(poolfree(0), 1);  // the whole-pool use is not released by poolfree
    EXPECT_EQ(poolregion(0, 8), -1);
}

TEST_F(Pool, WholePoolSizes) {
    EXPECT_EQ(poolitem32(0), nullptr);
    EXPECT_EQ(poolwhole(8193), -1);
    EXPECT_EQ(poolwhole(1), -1);  // a one-word item has no room for its exponent
    EXPECT_EQ(poolwhole(8192), 1);
    expectEmptyRecord(poolitem32(0), 8192);
    SetUp();
    EXPECT_EQ(poolwhole(2), 4096);
    expectEmptyRecord(poolitem32(4095), 2);
}

TEST(SelfDescribedRegion, FormatsAnyArea) {
    std::vector<uint64_t> area(100, 7);
    EXPECT_EQ(regformat(area.data(), 100, 0), 3);  // (100 - 1) div 32
    EXPECT_EQ(area[0], (uint64_t{3} << 32) | 32);
    EXPECT_EQ(regitem(area.data(), 2), area.data() + 1 + 64);
    expectEmptyRecord(regitem(area.data(), 2), 32);
    EXPECT_EQ(regitem(area.data(), 3), nullptr);
    EXPECT_EQ(area[97], 7u);
    EXPECT_EQ(regformat(area.data(), 10, 10), -1);
    EXPECT_EQ(regformat(area.data(), 10, 1), -1);
    EXPECT_EQ(regformat(area.data(), uint64_t{1} << 40, uint64_t{1} << 28), -1);  // no record length
    EXPECT_EQ(area[0], (uint64_t{3} << 32) | 32);  // refusals write nothing
    EXPECT_EQ(regformat(area.data(), 10, 9), 1);
    expectEmptyRecord(regitem(area.data(), 0), 9);
}

TEST(Registers, SlotsAreSetOnce) {
    for (uint64_t& s : m0::slotRegister) s = m0::kFree;
    EXPECT_EQ(slotget(0), 0u);
    EXPECT_EQ(slotset(0, 42), 42u);
    EXPECT_EQ(slotget(0), 42u);
    EXPECT_EQ(slotset(0, 43), 0u);
    EXPECT_EQ(slotget(0), 42u);
    EXPECT_EQ(slotset(4, 1), 0u);
    EXPECT_EQ(slotget(4), 0u);
    EXPECT_EQ(slotset(3, 9), 9u);
    EXPECT_EQ(slotget(3), 9u);
    EXPECT_EQ(slotget(1), 0u);
    for (uint64_t& s : m0::slotRegister) s = m0::kFree;
}

TEST(Registers, StatusWordArgumentRecordAndPow2) {
    m0::statusWord = m0::kNoStatus;
    EXPECT_EQ(statget(), -10);
    EXPECT_EQ(statset(0), 0u);
    EXPECT_EQ(statget(), 0);
    EXPECT_EQ(statset(kOnes), kOnes);
    EXPECT_EQ(statget(), -1);
    m0::statusWord = m0::kNoStatus;

    uint64_t* rec = argrec3(5, 6, 7);
    EXPECT_EQ(rec, &m0::argRecord.count);
    EXPECT_EQ(rec[0], 3u);
    EXPECT_EQ(rec[1], 5u);
    EXPECT_EQ(rec[3], 7u);
    rec = argrec16(1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16);
    EXPECT_EQ(rec[0], 16u);
    for (uint64_t i = 1; i <= 16; ++i) EXPECT_EQ(rec[i], i);
    argrec1(99);
    EXPECT_EQ(rec[0], 1u);
    EXPECT_EQ(rec[1], 99u);
    EXPECT_EQ(rec[2], 2u);  // words beyond the count keep their values

    EXPECT_EQ(pow2(0), 1u);
    EXPECT_EQ(pow2(63), uint64_t{1} << 63);
    EXPECT_EQ(pow2(64), 1u);
    EXPECT_EQ(pow2(70), 64u);
}

TEST(UnnamedHelpers, FillWordsAndFail) {
    std::vector<uint64_t> w(4, 0);
    EXPECT_EQ(fillwords(w.data(), 9, 3), 3u);
    EXPECT_EQ(w, (std::vector<uint64_t>{9, 9, 9, 0}));
    EXPECT_EQ(fillwords(w.data(), 1, 0), 0u);
    EXPECT_EQ(failresult(), -1);
}

TEST(UnnamedHelpers, FixedWidthDecimal) {
    char buf[24];
    std::memset(buf, '#', sizeof buf);
    EXPECT_EQ(decfixed(buf, 42, 5), 0);
    EXPECT_EQ(std::string(buf, 6), "00042#");
    EXPECT_EQ(decfixed(buf, 12345, 3), 1);  // only the last three digits
    EXPECT_EQ(std::string(buf, 6), "34542#");
    EXPECT_EQ(decfixed(buf, 999, 3), 0);
    EXPECT_EQ(decfixed(buf, 0, 1), 0);
    EXPECT_EQ(buf[0], '0');
    EXPECT_EQ(decfixed(buf, kOnes, 20), 0);
    EXPECT_EQ(std::string(buf, 20), "18446744073709551615");
}

TEST(UnnamedHelpers, DigitTemplate) {
    char t[32] = "run #: ok";
    EXPECT_EQ(dectemplate(t, '#', 7, 3), 9);
    EXPECT_STREQ(t, "run 007: ok");
    EXPECT_EQ(dectemplate(t, '#', 7, 3), -1);  // no marker left
    EXPECT_EQ(dectemplate(t, 0, 7, 3), -1);
    EXPECT_EQ(dectemplate(t, 'r', 7, 0), -1);
    EXPECT_STREQ(t, "run 007: ok");
    char u[8] = "#";
    EXPECT_EQ(dectemplate(u, '#', 5, 1), 1);
    EXPECT_STREQ(u, "5");
    char v[16] = "a$b$";
    EXPECT_EQ(dectemplate(v, '$', 123, 2), 4);  // the first marker only, last digits
    EXPECT_STREQ(v, "a23b$");
}

}  // namespace
