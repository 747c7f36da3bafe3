#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "profiler/hook.h"
#include "profiler/profiler_state.h"
#include "q64/profiler.h"

namespace {

std::vector<std::string> listedNames() {
    std::vector<std::string> names;
    const char* p = prfnamelist;
    EXPECT_EQ(static_cast<unsigned char>(*p), 0xFF);
    ++p;
    while (static_cast<unsigned char>(*p) != 0xFF) {
        names.emplace_back(p);
        p += names.back().size() + 1;
    }
    return names;
}

TEST(NameList, HoldsEveryRoutineOnceInIndexOrder) {
    std::vector<std::string> names = listedNames();
    ASSERT_EQ(names.size(), 305u);
    EXPECT_EQ(names[prfidx::_0_numulnum], "_0_numulnum");
    EXPECT_EQ(names[prfidx::_1_mul], "_1_mul");
    EXPECT_EQ(names[prfidx::_2_caloc], "_2_caloc");
    EXPECT_EQ(names[prfidx::_5_prmfctput], "_5_prmfctput");
    EXPECT_EQ(names[prfidx::_c_cmpmrgh], "_c_cmpmrgh");
    EXPECT_EQ(prfidx::_1_mul, 88u);
    EXPECT_EQ(prfidx::_5_prmfctput, 130u);
    // Each module is one run of consecutive indices.
    std::vector<std::string> modulesSeen;
    for (const std::string& n : names) {
        std::string module = n.substr(0, 3);
        if (modulesSeen.empty() || modulesSeen.back() != module) {
            for (const std::string& m : modulesSeen) EXPECT_NE(m, module) << n;
            modulesSeen.push_back(module);
        }
    }
    EXPECT_EQ(modulesSeen.size(), 10u);
}

}  // namespace
