// A broken precondition of a public header stops the Debug build with the
// condition's text; the optimised build compiles the check out.
#include <gtest/gtest.h>

#include "q64/m0_utilities.h"
#include "q64/m1_wordarrays.h"

TEST(Precondition, BrokenOneStopsTheDebugBuild) {
#ifdef Q64_CHECKS
    EXPECT_DEATH(pow10ptr(20), "precondition failed: i < kEntries");
    EXPECT_EQ(*pow10ptr(19), pow10tab[19]);
    uint64_t words[4] = {1, 2, 3, 4};
    EXPECT_DEATH(_1_mul(words, 2, words + 1, 2), "disjointWords");
    EXPECT_EQ(_1_add(words, 4, words + 2, 2), 0);  // its own last words: allowed
#else
    GTEST_SKIP() << "preconditions are checked in the Debug build only";
#endif
}
