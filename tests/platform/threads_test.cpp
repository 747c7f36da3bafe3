// Worker threads, and how many hardware threads the process may use: the
// affinity mask and the control groups' CPU quotas.
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/hardware_threads.h"
#include "platform/worker_threads.h"

namespace {

// A directory with the given files, removed at the end.
struct GroupDir {
    std::string path;
    GroupDir() {
        char name[] = "/tmp/q64_cpu_XXXXXX";
        path = mkdtemp(name);
    }
    void write(const char* file, const char* text) {
        std::string p = path + "/" + file;
        FILE* f = std::fopen(p.c_str(), "w");
        ASSERT_NE(f, nullptr);
        std::fputs(text, f);
        std::fclose(f);
    }
    ~GroupDir() {
        int rc = std::system(("rm -rf " + path).c_str());
        (void)rc;
    }
};

TEST(HardwareThreads, QuotasRoundUpToWholeProcessors) {
    struct Case {
        bool v2;
        const char* quota;   // cpu.max, or cpu.cfs_quota_us for v1
        const char* period;  // v1 only
        unsigned threads;
    };
    for (const Case& c : {Case{true, "max 100000\n", nullptr, 0}, Case{true, "150000 100000\n", nullptr, 2},
                          Case{true, "200000 100000\n", nullptr, 2}, Case{true, "50000 100000\n", nullptr, 1},
                          Case{true, "", nullptr, 0}, Case{false, "-1\n", "100000\n", 0},
                          Case{false, "250000\n", "100000\n", 3}, Case{false, "100000\n", "100000\n", 1}}) {
        SCOPED_TRACE(std::string(c.quota) + (c.v2 ? " (v2)" : " (v1)"));
        GroupDir dir;
        if (c.v2) {
            dir.write("cpu.max", c.quota);
        } else {
            dir.write("cpu.cfs_quota_us", c.quota);
            dir.write("cpu.cfs_period_us", c.period);
        }
        EXPECT_EQ(platform::testing::quotaThreads(dir.path.c_str(), c.v2), c.threads);
    }
    GroupDir empty;
    EXPECT_EQ(platform::testing::quotaThreads(empty.path.c_str(), true), 0u);
    EXPECT_EQ(platform::testing::quotaThreads(empty.path.c_str(), false), 0u);
}

TEST(HardwareThreads, AtMostTheAffinityMaskAndOneWhenItHoldsOneProcessor) {
    cpu_set_t set;
    ASSERT_EQ(sched_getaffinity(0, sizeof set, &set), 0);
    const unsigned mask = static_cast<unsigned>(CPU_COUNT(&set));
    EXPECT_GE(platform::usableHardwareThreads(), 1u);
    EXPECT_LE(platform::usableHardwareThreads(), mask);
    EXPECT_EQ(platform::usableHardwareThreads(), platform::testing::probeUsableHardwareThreads());
    // A child process bound to one processor may use one thread.
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        cpu_set_t one;
        CPU_ZERO(&one);
        for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu)
            if (CPU_ISSET(cpu, &set)) {
                CPU_SET(cpu, &one);
                break;
            }
        if (sched_setaffinity(0, sizeof one, &one) != 0) _exit(2);
        _exit(platform::testing::probeUsableHardwareThreads() == 1 ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

struct Tally {
    unsigned calls[platform::kMaxThreads] = {};
};

void countCall(unsigned worker, void* context) {
    __atomic_fetch_add(&static_cast<Tally*>(context)->calls[worker], 1u, __ATOMIC_RELAXED);
}

TEST(WorkerThreads, EachWorkerRunsOnceAndRefusedStartsAreReported) {
    for (unsigned count : {1u, 2u, 7u, platform::kMaxThreads + 5}) {
        Tally tally;
        unsigned ran = platform::runOnThreads(count, countCall, &tally);
        unsigned expected = count > platform::kMaxThreads ? platform::kMaxThreads : count;
        EXPECT_EQ(ran, expected);
        for (unsigned i = 0; i < platform::kMaxThreads; ++i) EXPECT_EQ(tally.calls[i], i < ran ? 1u : 0u) << i;
    }
    platform::testing::limitThreadStarts(2);
    Tally tally;
    EXPECT_EQ(platform::runOnThreads(6, countCall, &tally), 3u);
    EXPECT_EQ(tally.calls[0] + tally.calls[1] + tally.calls[2], 3u);
    EXPECT_EQ(tally.calls[3], 0u);
    platform::testing::limitThreadStarts(platform::kMaxThreads);
}

// Rounds of a group: each worker adds to the round's slot, meets the others,
// then checks that every worker's addition of the round is there.
struct Rounds {
    static constexpr unsigned kRounds = 200;
    platform::ThreadBarrier barrier;
    unsigned added[kRounds] = {};
    unsigned workersSeen[platform::kMaxThreads] = {};
    bool early = false;
};

void playRounds(unsigned worker, unsigned workers, void* context) {
    auto* r = static_cast<Rounds*>(context);
    r->workersSeen[worker] = workers;
    for (unsigned round = 0; round < Rounds::kRounds; ++round) {
        __atomic_fetch_add(&r->added[round], 1u, __ATOMIC_RELAXED);
        r->barrier.arriveAndWait(workers);
        if (__atomic_load_n(&r->added[round], __ATOMIC_RELAXED) != workers) r->early = true;
    }
}

TEST(WorkerThreads, GroupsKnowTheirSizeAndMeetAtTheBarrier) {
    for (unsigned limit : {platform::kMaxThreads, 0u, 2u})
        for (unsigned count : {1u, 2u, 5u}) {
            platform::testing::limitThreadStarts(limit);
            Rounds rounds;
            const unsigned ran = platform::runOnThreadsTogether(count, playRounds, &rounds);
            EXPECT_EQ(ran, limit + 1 < count ? limit + 1 : count);
            for (unsigned i = 0; i < ran; ++i) EXPECT_EQ(rounds.workersSeen[i], ran) << i;
            for (unsigned round = 0; round < Rounds::kRounds; ++round) EXPECT_EQ(rounds.added[round], ran);
            EXPECT_FALSE(rounds.early);
        }
    platform::testing::limitThreadStarts(platform::kMaxThreads);
}

}  // namespace
