// How many hardware threads the process may use: the processors of its
// affinity mask, fewer when a control group's CPU quota (v2 cpu.max, v1
// cpu.cfs_quota_us over cpu.cfs_period_us, the group or any ancestor) allows
// less than that many processors' worth of time.
#pragma once

namespace platform {

// At least 1. Read once; later calls answer the same.
unsigned usableHardwareThreads();

namespace testing {
// Processors' worth of time the CPU quota of the group in directory `dir`
// allows, rounded up (a quota of 1.5 processors gives 2); 0 when the group
// has no quota.
unsigned quotaThreads(const char* dir, bool v2);
// What usableHardwareThreads answers, read afresh.
unsigned probeUsableHardwareThreads();
}  // namespace testing

}  // namespace platform
