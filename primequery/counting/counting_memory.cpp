#include "primequery/counting/counting_memory.h"

#include "platform/work_memory.h"

namespace counting {

bool CountingMemory::reserve(uint64_t bytes) {
    release();
    bytes = (bytes + 4095) & ~uint64_t{4095};
    base_ = static_cast<uint8_t*>(platform::mapWorkMemory(bytes));
    if (base_ == nullptr) return false;
    size_ = bytes;
    used_ = 0;
    return true;
}

void* CountingMemory::takeBytes(uint64_t bytes) {
    const uint64_t at = (used_ + 63) & ~uint64_t{63};
    if (base_ == nullptr || at > size_ || bytes > size_ - at) return nullptr;
    used_ = at + bytes;
    return base_ + at;
}

void CountingMemory::release() {
    if (base_ != nullptr) platform::unmapWorkMemory(base_, size_);
    base_ = nullptr;
    size_ = used_ = 0;
}

}  // namespace counting
