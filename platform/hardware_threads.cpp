#include "platform/hardware_threads.h"

#include <sched.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>

#include "platform/control_groups.h"

namespace platform {

unsigned testing::quotaThreads(const char* dir, bool v2) {
    uint64_t quota = 0, period = 0;
    if (v2) {
        // "max 100000" or "<quota> <period>".
        char path[cgroup::kPathBytes];
        char text[128];
        if (std::snprintf(path, sizeof path, "%s/cpu.max", dir) >= static_cast<int>(sizeof path)) return 0;
        if (!cgroup::readText(path, text, sizeof text)) return 0;
        unsigned long long q = 0, p = 0;
        if (std::sscanf(text, "%llu %llu", &q, &p) != 2) return 0;  // "max ...": no quota
        quota = q;
        period = p;
    } else {
        // cfs_quota_us is -1 without a quota, which reads as no number here.
        if (!cgroup::fileNumber(dir, "cpu.cfs_quota_us", quota) || !cgroup::fileNumber(dir, "cpu.cfs_period_us", period))
            return 0;
        if (quota == UINT64_MAX) return 0;
    }
    if (quota == 0 || period == 0) return 0;
    uint64_t threads = (quota + period - 1) / period;
    return threads > 65535 ? 65535u : static_cast<unsigned>(threads);
}

namespace {

unsigned affinityThreads() {
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) == 0) {
        int n = CPU_COUNT(&set);
        if (n > 0) return static_cast<unsigned>(n);
    }
    long online = sysconf(_SC_NPROCESSORS_ONLN);
    return online > 0 ? static_cast<unsigned>(online) : 1u;
}

// The smallest quota over the group and its ancestors in both hierarchies.
unsigned quotaLimit() {
    static cgroup::Hierarchy v1, v2;
    v1 = v2 = cgroup::Hierarchy{};
    cgroup::findHierarchies("cpu", v1, v2);
    unsigned least = 0;
    auto take = [&](const cgroup::Hierarchy& h, bool isV2) {
        cgroup::forGroupAndAncestors(h, [&](const char* dir) {
            unsigned q = testing::quotaThreads(dir, isV2);
            if (q != 0 && (least == 0 || q < least)) least = q;
        });
    };
    take(v2, true);
    take(v1, false);
    return least;
}

}  // namespace

unsigned testing::probeUsableHardwareThreads() {
    unsigned n = affinityThreads();
    unsigned quota = quotaLimit();
    if (quota != 0 && quota < n) n = quota;
    return n == 0 ? 1 : n;
}

unsigned usableHardwareThreads() {
    static const unsigned threads = testing::probeUsableHardwareThreads();
    return threads;
}

}  // namespace platform
