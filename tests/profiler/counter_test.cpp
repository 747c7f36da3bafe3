// With profiling on, a call of each listed routine moves its own counter.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "q64/m2_scratch.h"
#include "q64/profiler.h"
#include "tests/profiler/routine_calls.h"

namespace {

constexpr uint64_t kNotCounted = UINT64_C(1) << 63;
constexpr uint64_t kStamp = UINT64_C(0x7E805110C1E02000);  // 2024/05/17 12:30:02.000

TEST(CounterTable, EveryListedRoutineHasACallOrIsNotBuiltYet) {
    const std::vector<std::string> list = prftest::listedNames();
    const std::set<std::string> names(list.begin(), list.end());
    ASSERT_EQ(names.size(), 305u);
    for (const std::string& name : names) {
        const bool hasRow = prftest::routineCalls().count(name) != 0;
        const bool notBuilt = prftest::notBuiltYet().count(name) != 0;
        EXPECT_TRUE(hasRow != notBuilt)
            << name << (hasRow ? " has a row and is listed as not built"
                               : " has no row and is not listed as not built");
    }
    for (const auto& [name, call] : prftest::routineCalls()) EXPECT_TRUE(names.count(name)) << name;
    for (const std::string& name : prftest::notBuiltYet()) EXPECT_TRUE(names.count(name)) << name;
}

TEST(CounterTable, EachCallMovesItsOwnCounter) {
    ASSERT_EQ(prfsetup(5), 0);
    ASSERT_EQ(prfenmods("0123459abc"), 0);
    const uint64_t* counters = prfcounters();
    for (const auto& [name, call] : prftest::routineCalls()) {
        const int64_t index = prflookup(name.c_str(), name.size());
        ASSERT_GE(index, 0) << name;
        const uint64_t before = counters[1 + index];
        const int64_t stackLeft = _2_left();
        ASSERT_EQ(prfon(kStamp), 0);
        call();
        ASSERT_EQ(prfoff(kStamp), 0);
        const uint64_t after = counters[1 + index];
        EXPECT_EQ(after & kNotCounted, 0u) << name;
        EXPECT_GE(after - before, 1u) << name << " did not count its own call";
        EXPECT_EQ(_2_left(), stackLeft) << name << "'s row left the working stack unbalanced";
    }
    EXPECT_EQ(prfstamp(0), kStamp);
}

}  // namespace
