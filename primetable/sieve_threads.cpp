#include "primetable/sieve_threads.h"

#include "platform/hardware_threads.h"
#include "platform/worker_threads.h"

namespace primetable {

namespace {
unsigned threadCap = 0;
}  // namespace

void setSieveThreadCap(unsigned cap) { threadCap = cap; }

unsigned sieveThreads() {
    unsigned threads = threadCap != 0 ? threadCap : platform::usableHardwareThreads();
    return threads > platform::kMaxThreads ? platform::kMaxThreads : threads;
}

}  // namespace primetable
