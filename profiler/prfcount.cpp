// The profiler's state and its counting routine, the one the entry hook calls.
#include "profiler/hook.h"
#include "profiler/profiler_state.h"

extern "C" {
uint64_t prfflag = ~UINT64_C(0);
}

namespace prf {
CounterTable counterTable{};
TraceRing traceRing{};
uint64_t startStamp = 0;
uint64_t stopStamp = 0;
}  // namespace prf

extern "C" void prfcount(uint64_t index) {
    if (index >= prf::kCounterWords) return;
    uint64_t& counter = prf::counterTable.counters[index];
    if (counter & prf::kNotCounted) return;
    ++counter;
    prf::TraceRing& ring = prf::traceRing;
    ring.entries[ring.position] = static_cast<uint16_t>(index);
    ring.position = (ring.position + 1) & ring.mask;
}
