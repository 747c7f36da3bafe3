// The scratch stacks: room tests at their limits, sizes and addresses, and
// the constant stack's exhaustion. Every test leaves the working stack empty.
#include <gtest/gtest.h>

#include <cstdint>

#include "numlib/m2_scratch/scratch_area.h"
#include "q64/m2_scratch.h"

namespace {

TEST(Scratch, WorkingStackLimits) {
    ASSERT_EQ(_2_left(), 32766);  // empty at load
    uint64_t* big = _2_alocs(32765);  // the largest block: its trailer takes the last word
    ASSERT_NE(big, nullptr);
    EXPECT_EQ(_2_left(), 0);
    EXPECT_EQ(_2_alocs(0), nullptr);
    EXPECT_EQ(_2_frees(), 0);
    EXPECT_EQ(_2_alocs(32766), nullptr);
    EXPECT_EQ(_2_left(), 32766);
}

TEST(Scratch, HugeRequestsAreRefusedWithoutWrapping) {
    for (uint64_t n : {UINT64_MAX, UINT64_MAX - 1, uint64_t{1} << 32, (uint64_t{1} << 32) + 5,
                       uint64_t{0xFFFFFFFF}}) {
        SCOPED_TRACE(n);
        EXPECT_EQ(_2_alocs(n), nullptr);
        EXPECT_EQ(_2_left(), 32766);
    }
}

TEST(Scratch, FreesAndFreertn) {
    ASSERT_NE(_2_alocs(8), nullptr);
    EXPECT_EQ(_2_frees(), 0);
    EXPECT_EQ(_2_frees(), -1);  // empty: nothing changes
    EXPECT_EQ(_2_left(), 32766);
    EXPECT_EQ(_2_freertn(0), 0);
    EXPECT_EQ(_2_freertn(-9), -9);
    ASSERT_NE(_2_alocs(4), nullptr);
    EXPECT_EQ(_2_freertn(77), 77);
    EXPECT_EQ(_2_left(), 32766);
}

TEST(Scratch, SizesAndAddressesOfTheNewestBlock) {
    EXPECT_EQ(_2_addrs(), nullptr);
    uint64_t* first = _2_alocs(8);
    uint64_t* second = _2_alocs(3);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second, first + 9);  // 8 words and a trailer
    EXPECT_EQ(first[8], 8u);       // the trailer
    EXPECT_EQ(_2_sizes(), 3u);
    EXPECT_EQ(_2_addrs(), second);
    EXPECT_EQ(_2_left(), 32766 - 13);
    EXPECT_EQ(_2_frees(), 1);
    EXPECT_EQ(_2_sizes(), 8u);
    EXPECT_EQ(_2_addrs(), first);
    EXPECT_EQ(_2_frees(), 0);
}

TEST(Scratch, EmptyBlockCountsAsABlock) {
    uint64_t* empty = _2_alocs(0);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(_2_left(), 32765);  // its trailer
    EXPECT_EQ(_2_sizes(), 0u);
    EXPECT_EQ(_2_frees(), 0);
    EXPECT_EQ(_2_frees(), -1);
}

TEST(Scratch, InistkNeverGoesBeyondTheArea) {
    using scratch::area;
    using scratch::kWorkingBounds;
    ASSERT_NE(_2_alocs(5), nullptr);
    EXPECT_EQ(_2_inistk(100), &area[kWorkingBounds]);  // empties the stack
    EXPECT_EQ(_2_left(), 98);
    EXPECT_EQ(_2_alocs(98), nullptr);
    EXPECT_EQ(_2_frees(), -1);
    EXPECT_EQ(area[kWorkingBounds + 1], uint64_t{scratch::kWorkingMarker});  // count 0
    _2_inistk((uint64_t{1} << 32) | 100);  // only the low 32 bits count
    EXPECT_EQ(_2_left(), 98);
    _2_inistk(0x10000);  // more than the area holds
    EXPECT_EQ(_2_left(), 32766);
    EXPECT_EQ(_2_alocs(32766), nullptr);
    _2_inistk(0x8000);  // as at load
    EXPECT_EQ(area[kWorkingBounds], uint64_t{0x8000} << 32);
}

// The constant stack only grows, so its exhaustion runs in a child process.
TEST(ScratchDeathTest, ConstantStackIsExhaustedAfter16382Words) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            using scratch::area;
            using scratch::kConstantBounds;
            bool ok = true;
            uint64_t* a = _2_caloc(10);
            uint64_t* b = _2_caloc(5);
            ok &= a == &area[kConstantBounds - 11] && a[-1] == 10;  // header word below
            ok &= b == a - 6 && b[-1] == 5;                        // blocks grow downward
            ok &= _2_caloc(16382 - 17) == nullptr;                  // one word too many
            uint64_t* last = _2_caloc(16382 - 18);                  // fills the stack
            ok &= last == &area[0] + 1 && last[-1] == 16382 - 18;
            ok &= _2_caloc(0) == nullptr;
            ok &= (area[kConstantBounds] >> 32) == 16382 && (area[kConstantBounds - 1] >> 32) == 3;
            ok &= _2_left() == 32766;  // the working stack is not touched
            std::exit(ok ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
