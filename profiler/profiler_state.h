// The profiler's static state: flag, stamps, counter table and trace ring.
#pragma once

#include <cstddef>
#include <cstdint>

// The constant name list: the byte 255, the routine names in index order, each
// ended by a NUL, and a closing byte 255.
extern "C" const char prfnamelist[];

namespace prf {

inline constexpr uint64_t kCounterWords = 1024;
inline constexpr uint64_t kRingCapacity = uint64_t{1} << 18;
inline constexpr uint64_t kNotCounted = uint64_t{1} << 63;
inline constexpr unsigned char kListEnd = 0xFF;

// The word N (number of routine names) followed by one counter word per index.
// Bit 63 set: not counted; bits 0..62: the count.
struct CounterTable {
    uint64_t nameCount;
    uint64_t counters[kCounterWords];
};

// Ring of the most recent counted indices; its size is mask + 1, a power of two.
struct TraceRing {
    uint64_t mask;
    uint64_t position;
    uint16_t entries[kRingCapacity];
};

// prfcounters and prfring hand these out as word arrays.
static_assert(offsetof(CounterTable, counters) == sizeof(uint64_t));
static_assert(offsetof(TraceRing, entries) == 2 * sizeof(uint64_t));

extern CounterTable counterTable;
extern TraceRing traceRing;
extern uint64_t startStamp;
extern uint64_t stopStamp;

}  // namespace prf
