// Switching profiling on and off, the stamps, and access to counters and ring.
#include "platform/timestamp.h"
#include "profiler/hook.h"
#include "profiler/profiler_state.h"

namespace {
constexpr uint64_t kOff = ~UINT64_C(0);
}  // namespace

extern "C" int64_t prfon(uint64_t stamp) {
    if (prfflag == 0) return -1;
    prfflag = 0;
    prf::startStamp = stamp;
    return 0;
}

extern "C" int64_t prfoff(uint64_t stamp) {
    if (prfflag == kOff) return -1;
    prfflag = kOff;
    prf::stopStamp = stamp;
    return 0;
}

extern "C" uint64_t prfstamp(uint64_t which) {
    if (which == 0) return timechk(prf::startStamp);
    if (which == 1) return timechk(prf::stopStamp);
    return kNoTimeStamp;
}

// Both records are handed out whole, as word arrays.
extern "C" uint64_t* prfcounters(void) {
    return reinterpret_cast<uint64_t*>(&prf::counterTable);
}

extern "C" uint64_t* prfring(void) { return reinterpret_cast<uint64_t*>(&prf::traceRing); }

extern "C" uint64_t prfringat(const uint64_t* ring, uint64_t p) {
    const uint16_t* entries = reinterpret_cast<const uint16_t*>(ring + 2);
    return entries[p & ring[0]];
}
