#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "numlib/m0_utilities/internal_helpers.h"
#include "platform/timestamp.h"
#include "profiler/hook.h"
#include "q64/m0_utilities.h"
#include "q64/m2_scratch.h"
#include "q64/profiler.h"

namespace {

constexpr uint64_t kAllOnes = ~UINT64_C(0);
constexpr uint64_t kNotCounted = UINT64_C(1) << 63;

// What the profiler looks like before any test touches it.
struct LoadState {
    uint64_t flag, names, mask, startStamp, stopStamp;
    int64_t offResult;
    bool nameOfZeroIsNull;
};
const LoadState atLoad = [] {
    LoadState s{};
    s.flag = prfflag;
    s.names = prfcounters()[0];
    s.mask = prfring()[0];
    s.startStamp = prfstamp(0);
    s.stopStamp = prfstamp(1);
    s.offResult = prfoff(12345);
    s.nameOfZeroIsNull = prfname(0) == nullptr;
    return s;
}();

uint64_t stampAt(uint16_t year, uint16_t ms) {
    platform::LocalTime t{year, 5, 0, 17, 12, 30, 45, ms};
    return timepack(&t);
}

uint64_t counter(uint64_t index) { return prfcounters()[1 + index]; }

// Every test starts from a fresh set-up and leaves profiling off.
class Profiler : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(prfsetup(5), 0); }
    void TearDown() override { prfoff(stampAt(2024, 1)); }
};

TEST(ProfilerAtLoad, IsOffWithoutStampsOrNames) {
    EXPECT_EQ(atLoad.flag, kAllOnes);
    EXPECT_EQ(atLoad.names, 0u);
    EXPECT_EQ(atLoad.mask, 0u);
    EXPECT_EQ(atLoad.startStamp, kAllOnes);
    EXPECT_EQ(atLoad.stopStamp, kAllOnes);
    EXPECT_EQ(atLoad.offResult, -1);
    EXPECT_TRUE(atLoad.nameOfZeroIsNull);
}

TEST_F(Profiler, SetupRefusesOutOfRangeExponentsAndChangesNothing) {
    uint64_t* counters = prfcounters();
    counters[1 + 7] = 3;  // index 7 counted, with a count that must survive
    EXPECT_EQ(prfsetup(4), -1);
    EXPECT_EQ(prfsetup(19), -1);
    EXPECT_EQ(prfring()[0], 31u);
    EXPECT_EQ(counter(7), 3u);

    counters[1 + 400] = 77;  // beyond N: set-up leaves it
    ASSERT_EQ(prfsetup(18), 0);
    EXPECT_EQ(prfring()[0], (UINT64_C(1) << 18) - 1);
    EXPECT_EQ(prfring()[1], 0u);
    EXPECT_EQ(counters[0], 305u);
    for (uint64_t i = 0; i < 305; ++i) ASSERT_EQ(counter(i), kNotCounted) << i;
    EXPECT_EQ(counter(400), 77u);
    counters[1 + 400] = 0;
}

TEST_F(Profiler, InitFallsBackToARingOf128AndAppliesLettersBeforeNames) {
    EXPECT_EQ(prfinit(3, "2", "_2_alocs,_1_mul"), 0);
    EXPECT_EQ(prfring()[0], 127u);
    EXPECT_EQ(counter(prfidx::_2_alocs), kNotCounted);  // module on, then toggled off
    EXPECT_EQ(counter(prfidx::_2_frees), 0u);
    EXPECT_EQ(counter(prfidx::_1_mul), 0u);  // toggled on alone
    EXPECT_EQ(counter(prfidx::_1_div), kNotCounted);
    EXPECT_EQ(prfinit(6, nullptr, nullptr), 0);
    EXPECT_EQ(prfring()[0], 63u);
    EXPECT_EQ(counter(prfidx::_1_mul), kNotCounted);
}

TEST_F(Profiler, RingOf32HoldsTheLast32Of40Entries) {
    prfenmods("01");
    for (uint64_t i = 0; i < 40; ++i) prfcount(i);
    const uint64_t* ring = prfring();
    EXPECT_EQ(ring[1], 8u);
    // From the position on, the ring reads oldest first: 8, 9, ..., 39.
    for (uint64_t k = 0; k < 32; ++k) EXPECT_EQ(prfringat(ring, 8 + k), 8 + k) << k;
    EXPECT_EQ(prfringat(ring, 8 + 32), 8u);  // positions wrap with the mask
    for (uint64_t i = 0; i < 40; ++i) EXPECT_EQ(counter(i), 1u) << i;
}

TEST_F(Profiler, CountIgnoresLargeIndicesAndUnselectedRoutines) {
    prfenmod('0');
    prfcount(prfidx::kUnnamed);
    prfcount(1024);
    prfcount(prfidx::_1_mul);  // not selected
    EXPECT_EQ(prfring()[1], 0u);
    EXPECT_EQ(counter(prfidx::_1_mul), kNotCounted);
    prfcount(prfidx::_0_pow64);
    EXPECT_EQ(counter(prfidx::_0_pow64), 1u);
    EXPECT_EQ(prfringat(prfring(), 0), prfidx::_0_pow64);
}

TEST_F(Profiler, ModuleSelectionAndTogglingByName) {
    EXPECT_EQ(prfenmod('2'), 8);
    EXPECT_EQ(prfenmod('A'), 0);  // letters are compared exactly
    ASSERT_EQ(prfon(stampAt(2024, 2)), 0);
    auto allocateAndFree = [] {
        ASSERT_NE(_2_alocs(4), nullptr);
        _2_sizes();
        _2_frees();
    };
    allocateAndFree();
    EXPECT_EQ(counter(prfidx::_2_alocs), 1u);
    EXPECT_EQ(counter(prfidx::_2_frees), 1u);
    EXPECT_EQ(counter(prfidx::_2_sizes), 1u);
    for (uint64_t i = 0; i < 305; ++i) {
        if (i < prfidx::_2_caloc || i > prfidx::_2_inistk) {
            ASSERT_EQ(counter(i), kNotCounted) << prfname(static_cast<int64_t>(i));
        }
    }
    const uint64_t* ring = prfring();
    EXPECT_EQ(ring[1], 3u);
    EXPECT_EQ(prfringat(ring, 0), prfidx::_2_alocs);
    EXPECT_EQ(prfringat(ring, 1), prfidx::_2_sizes);
    EXPECT_EQ(prfringat(ring, 2), prfidx::_2_frees);

    EXPECT_EQ(prftoggle("_2_alocs,_2_frees"), 2);
    allocateAndFree();
    EXPECT_EQ(counter(prfidx::_2_alocs), kNotCounted | 1);  // kept, but no longer counted
    EXPECT_EQ(counter(prfidx::_2_frees), kNotCounted | 1);
    EXPECT_EQ(counter(prfidx::_2_sizes), 2u);

    EXPECT_EQ(prftoggle("_2_alocs,_2_frees"), 2);
    allocateAndFree();
    EXPECT_EQ(counter(prfidx::_2_alocs), 2u);
    EXPECT_EQ(counter(prfidx::_2_frees), 2u);

    EXPECT_EQ(prfenmod('2'), 8);  // resets the counts
    EXPECT_EQ(counter(prfidx::_2_sizes), 0u);
}

TEST_F(Profiler, ToggleSkipsEmptyItemsAndUnknownNames) {
    EXPECT_EQ(prftoggle(",,_0_clear,"), 1);
    EXPECT_EQ(counter(prfidx::_0_clear), 0u);
    EXPECT_EQ(prftoggle(""), 0);
    EXPECT_EQ(prftoggle(","), 0);
    // One byte off anywhere, a byte short or a byte long: not a listed name.
    for (const char* name :
         {"x0_clear", "_0_cleaR", "_0_clea", "_0_clearx", "_1_clear", " _0_clear"}) {
        EXPECT_EQ(prftoggle(name), 0) << name;
    }
    EXPECT_EQ(prftoggle("_0_clear,_0_clear"), 2);
    EXPECT_EQ(counter(prfidx::_0_clear), 0u);
    EXPECT_EQ(prftoggle("_0_clear"), 1);
    EXPECT_EQ(counter(prfidx::_0_clear), kNotCounted);
}

TEST_F(Profiler, LookupMatchesWholeNamesAtTheListsEdges) {
    EXPECT_EQ(prflookup("_0_numulnum", 11), 0);
    EXPECT_EQ(prflookup("_c_cmpmrgh", 10), 304);
    EXPECT_EQ(prflookup("_0_numulnu", 10), -1);
    EXPECT_EQ(prflookup("_c_cmpmrgh", 11), -1);  // the NUL is not part of the name
    EXPECT_EQ(prflookup("_c_cmpmrghx", 10), 304);  // only `length` bytes are read
    EXPECT_EQ(prflookup("", 0), -1);
    // A name that is the start of another one.
    EXPECT_EQ(prflookup("_0_bitscan0", 11), prfidx::_0_bitscan0);
    EXPECT_EQ(prflookup("_0_bitscan0n", 12), prfidx::_0_bitscan0n);
    EXPECT_EQ(prflookup("_1_mul", 6), prfidx::_1_mul);
}

TEST_F(Profiler, NameByIndexAtTheEdgesAndBackThroughLookup) {
    EXPECT_STREQ(prfname(0), "_0_numulnum");
    EXPECT_STREQ(prfname(304), "_c_cmpmrgh");
    EXPECT_EQ(prfname(305), nullptr);
    EXPECT_EQ(prfname(-1), nullptr);
    EXPECT_EQ(prfname(INT64_MIN), nullptr);
    for (int64_t i = 0; i < 305; ++i) {
        const char* name = prfname(i);
        ASSERT_NE(name, nullptr) << i;
        EXPECT_EQ(prflookup(name, std::strlen(name)), i);
    }
}

TEST_F(Profiler, OnAndOffAlternateAndKeepTheirStamps) {
    const uint64_t start = stampAt(2024, 5), stop = stampAt(2025, 999);
    EXPECT_EQ(prfon(start), 0);
    EXPECT_EQ(prfflag, 0u);
    EXPECT_EQ(prfon(stampAt(2030, 0)), -1);
    EXPECT_EQ(prfstamp(0), start);  // the refused call kept the first stamp
    EXPECT_EQ(prfoff(stop), 0);
    EXPECT_EQ(prfflag, kAllOnes);
    EXPECT_EQ(prfoff(stampAt(2030, 0)), -1);
    EXPECT_EQ(prfstamp(1), stop);
    EXPECT_EQ(prfstamp(2), kAllOnes);
    EXPECT_EQ(prfstamp(kAllOnes), kAllOnes);
    // An invalid stamp is kept but read back as all ones.
    EXPECT_EQ(prfon(stampAt(1969, 0)), 0);
    EXPECT_EQ(prfstamp(0), kAllOnes);
}

TEST_F(Profiler, NothingIsCountedWhileOff) {
    prfenmods("0123459abc");
    ASSERT_EQ(prfflag, kAllOnes);
    ASSERT_NE(_2_alocs(2), nullptr);
    _2_frees();
    EXPECT_EQ(counter(prfidx::_2_alocs), 0u);
    EXPECT_EQ(counter(prfidx::_2_frees), 0u);
    EXPECT_EQ(prfring()[1], 0u);
}

TEST_F(Profiler, UnnamedRoutinesAreNeverCounted) {
    prfenmods("0123459abc");
    uint64_t before[305];
    for (uint64_t i = 0; i < 305; ++i) before[i] = counter(i);
    ASSERT_EQ(prfon(stampAt(2024, 3)), 0);
    uint64_t words[2];
    char text[16] = "n=#";
    fillwords(words, 7, 2);
    decfixed(text, 5, 2);
    dectemplate(text, '#', 5, 2);
    failresult();
    ASSERT_EQ(prfoff(stampAt(2024, 4)), 0);
    EXPECT_EQ(prfring()[1], 0u);
    for (uint64_t i = 0; i < 305; ++i) {
        EXPECT_EQ(counter(i), before[i]) << prfname(static_cast<int64_t>(i));
    }
}

TEST(ProfilerText, Dec20WritesTwentyDigitsANulAndThreeZeros) {
    char buffer[25];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(prfdec20(buffer, 0), 0);
    EXPECT_EQ(std::string(buffer, 24), std::string(20, '0') + std::string(1, '\0') + "000");
    EXPECT_EQ(buffer[24], 'x');
    prfdec20(buffer, kAllOnes);
    EXPECT_STREQ(buffer, "18446744073709551615");
    prfdec20(buffer, 9);
    EXPECT_STREQ(buffer, "00000000000000000009");
    prfdec20(buffer, 1234567890);
    EXPECT_STREQ(buffer, "00000000001234567890");
}

TEST(ProfilerText, BlanksAndFail) {
    char buffer[8] = "abcdefg";
    EXPECT_EQ(prfblanks(buffer, 0), -1);
    EXPECT_EQ(prfblanks(buffer, -5), -1);
    EXPECT_STREQ(buffer, "abcdefg");
    EXPECT_EQ(prfblanks(buffer, 3), 0);
    EXPECT_STREQ(buffer, "   ");
    EXPECT_EQ(buffer[4], 'e');
    EXPECT_EQ(prffail(), -1);
}

TEST(ProfilerText, FieldPadsShortTextsAndReportsLongOnes) {
    char field[8];
    std::memset(field, 'x', sizeof field);
    EXPECT_EQ(prffield(field, "ab,cd", ',', 5), 0);
    EXPECT_EQ(std::string(field, 6), "ab   x");
    EXPECT_EQ(prffield(field, "abcde,", ',', 5), 0);  // exactly fills the field
    EXPECT_EQ(std::string(field, 6), "abcdex");
    EXPECT_EQ(prffield(field, "abcdef,", ',', 5), 1);  // longer than the field
    EXPECT_EQ(std::string(field, 6), "abcdex");
    EXPECT_EQ(prffield(field, ",", ',', 3), 0);
    EXPECT_EQ(std::string(field, 3), "   ");
}

TEST(ProfilerText, ScansStayWithinTheirBounds) {
    const char text[] = "a,b;c,d";
    const char* end = text + 7;
    EXPECT_EQ(prfscanf(text, ',', end), text + 1);
    EXPECT_EQ(prfscanf(text + 2, ',', end), text + 5);
    EXPECT_EQ(prfscanf(text, 'd', text + 6), nullptr);  // the end is excluded
    EXPECT_EQ(prfscanf(text, ',', text), nullptr);
    EXPECT_EQ(prfscanb(text, ',', text + 6), text + 5);
    EXPECT_EQ(prfscanb(text, ',', text + 5), text + 5);  // the position is included
    EXPECT_EQ(prfscanb(text + 2, ',', text + 4), nullptr);
    EXPECT_EQ(prfscanb(text, 'a', text + 6), text);  // the lower bound is included
    EXPECT_EQ(prfscanb(text + 1, 'a', text + 6), nullptr);
    EXPECT_EQ(prfscanb2(text, ';', ',', text + 4), text + 3);
    EXPECT_EQ(prfscanb2(text, ';', ',', text + 6), text + 5);
    EXPECT_EQ(prfscanb2(text, 'x', 'y', text + 6), nullptr);
}

}  // namespace
