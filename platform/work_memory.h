// Work memory of the library beside the prime table: the sieve's per-thread
// buffers and the prime-count index. It is mapped on demand and, unlike the
// table's blocks (platform/memory.h), neither populated nor counted against
// the table's refusal limits, so that the table tests keep their counts.
#pragma once

#include <cstdint>

namespace platform {

// Zero-filled, readable and writable memory of `bytes` bytes; null when
// refused.
void* mapWorkMemory(uint64_t bytes);

// Gives back memory from mapWorkMemory (the same size).
void unmapWorkMemory(void* memory, uint64_t bytes);

namespace testing {
// Refuses every later request while on.
void refuseWorkMemory(bool on);
}  // namespace testing

}  // namespace platform
