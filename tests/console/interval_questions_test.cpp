// count A B and list A B end to end: exact output bytes and exit statuses,
// the same answers for every thread cap, and the errors of bad operands.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/console/program_run.h"

namespace {

using namespace console_test;

RunResult ask(std::vector<std::string> args, std::vector<std::string> environment = {}) {
    return askOnce(std::move(args), std::move(environment));
}

struct Case {
    std::vector<std::string> args;
    int status;
    std::string out;
    std::string err;
};

TEST(IntervalQuestions, OutputBytesAndExitStatuses) {
    const std::string top = "18446744073709551615";
    const Case cases[] = {
        {{"count", "0", "100"}, 0, "25\n", ""},
        {{"count", "0", "0"}, 0, "0\n", ""},
        {{"count", "97", "97"}, 0, "1\n", ""},
        {{"count", "1000000000", "1000100000"}, 0, "4832\n", ""},
        {{"list", "0", "12"}, 0, "2\n3\n5\n7\n11\n", ""},
        {{"list", "200", "230"}, 0, "211\n223\n227\n229\n", ""},
        {{"list", "24", "28"}, 0, "", ""},
        {{"list", "18446744073709551500", top}, 0, "18446744073709551521\n18446744073709551533\n18446744073709551557\n", ""},
        {{"count", "10", "5"}, 2, "", "primes: count: 10: above the end of the interval, 5\n"},
        {{"list", "1", "18446744073709551616"}, 2, "",
         "primes: list: 18446744073709551616: too large (above 2^64 - 1)\n"},
        {{"count", "1x", "5"}, 2, "", "primes: count: 1x: not a decimal number\n"},
    };
    for (const Case& c : cases) {
        RunResult run = ask(c.args);
        EXPECT_EQ(run.status, c.status) << c.args[0] << " " << c.args[1];
        EXPECT_EQ(run.out, c.out) << c.args[0] << " " << c.args[1];
        EXPECT_EQ(run.err, c.err) << c.args[0] << " " << c.args[1];
    }
    EXPECT_EQ(ask({"count", "5"}).status, 2);
}

TEST(IntervalQuestions, TheThreadCapChangesNothing) {
    const RunResult one = ask({"--threads", "1", "list", "4294000000", "4296000000"});
    ASSERT_EQ(one.status, 0);
    EXPECT_EQ(one.out.substr(0, 11), "4294000079\n");
    for (const char* threads : {"2", "3", "7"}) {
        EXPECT_EQ(ask({"list", "4294000000", "4296000000"}, {std::string("Q64_THREADS=") + threads}).out, one.out);
        EXPECT_EQ(ask({"--threads", threads, "count", "0", "1000000000"}).out, "50847534\n");
    }
}

}  // namespace
