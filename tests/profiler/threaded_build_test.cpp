// Table builds on several threads count exactly what they count on one: the
// worker threads run no named routine, so the counters and the ring match.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "primetable/sieve_engine.h"
#include "primetable/sieve_threads.h"
#include "q64/m5_primetable.h"
#include "q64/profiler.h"

namespace {

constexpr uint64_t kStamp = UINT64_C(0x7E805110C1E02000);  // 2024/05/17 12:30:02.000

struct Profile {
    std::vector<uint64_t> counters;
    std::vector<uint64_t> ring;
};

// A 1 MB table and a 1 MB block appended to it, built with profiling on.
Profile profiledBuild(unsigned threads) {
    primetable::setSieveThreadCap(threads);
    EXPECT_EQ(prfsetup(12), 0);
    EXPECT_EQ(prfenmods("0123459abc"), 0);
    auto head = std::make_unique<uint64_t[]>(131072);
    auto tail = std::make_unique<uint64_t[]>(131072);
    EXPECT_EQ(prfon(kStamp), 0);
    EXPECT_EQ(_5_prmnew(131072, head.get()), 0);
    EXPECT_EQ(_5_prmexpd(131072, tail.get(), head.get()), 0);
    EXPECT_EQ(prfoff(kStamp), 0);
    primetable::setSieveThreadCap(0);
    Profile p;
    p.counters.assign(prfcounters(), prfcounters() + 1025);
    const uint64_t* ring = prfring();
    p.ring.assign(ring, ring + 2 + (ring[0] + 1 + 3) / 4);
    return p;
}

TEST(ThreadedBuild, CountsAndRingEqualTheSingleThreadedBuilds) {
    Profile one = profiledBuild(1);
    EXPECT_EQ(sieve::testing::threadsOfLastRun(), 1u);
    Profile many = profiledBuild(4);
    EXPECT_GT(sieve::testing::threadsOfLastRun(), 1u);
    EXPECT_EQ(one.counters, many.counters);
    EXPECT_EQ(one.ring, many.ring);
    EXPECT_GT(one.counters[1 + prflookup("_5_prmnew", 9)] & ~(UINT64_C(1) << 63), 0u);
}

}  // namespace
