// The static records behind the slot register, the status word, the argument
// record and the record pool, for the routines that keep them and for tests
// that put them back into their load state.
#pragma once

#include <cstdint>

namespace m0 {

inline constexpr uint64_t kSlots = 4;
inline constexpr uint64_t kFree = ~uint64_t{0};
inline constexpr uint64_t kNoStatus = uint64_t{1} << 63;
inline constexpr uint64_t kArgValues = 16;

inline constexpr uint64_t kPoolWords = 8192;
inline constexpr uint64_t kRegions = 32;
inline constexpr uint64_t kRegionWords = kPoolWords / kRegions;
inline constexpr uint64_t kWholePool = kRegions;  // the descriptor of the whole pool

// Count word, then the values.
struct ArgRecord {
    uint64_t count;
    uint64_t values[kArgValues];
};

// Size word, then the pool words; descriptors 0..31 for the regions and 32 for
// the whole pool, all ones when free, else count << 32 | item size.
struct RecordPool {
    uint64_t size;
    uint64_t words[kPoolWords];
    uint64_t descriptors[kRegions + 1];
};

extern uint64_t slotRegister[kSlots];
extern uint64_t statusWord;
extern ArgRecord argRecord;
extern RecordPool recordPool;

}  // namespace m0
