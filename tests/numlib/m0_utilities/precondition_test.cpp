// A broken precondition of a public header stops the Debug build with the
// condition's text; the optimised build compiles the check out.
#include <gtest/gtest.h>

#include "q64/m0_utilities.h"

TEST(Precondition, BrokenOneStopsTheDebugBuild) {
#ifdef Q64_CHECKS
    EXPECT_DEATH(pow10ptr(20), "precondition failed: i < kEntries");
    EXPECT_EQ(*pow10ptr(19), pow10tab[19]);
#else
    GTEST_SKIP() << "preconditions are checked in the Debug build only";
#endif
}
