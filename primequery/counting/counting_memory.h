// The work memory of one count: a single mapping from the platform's work
// memory, handed out in aligned pieces (internal, C++ only).
#pragma once

#include <cstdint>

namespace counting {

class CountingMemory {
public:
    CountingMemory() = default;
    CountingMemory(const CountingMemory&) = delete;
    CountingMemory& operator=(const CountingMemory&) = delete;
    ~CountingMemory() { release(); }

    // Maps `bytes` (pages are backed only when touched); false when refused.
    bool reserve(uint64_t bytes);
    // The next `count` elements, 64-byte aligned and zero; null past the end.
    template <typename T>
    T* take(uint64_t count) {
        return static_cast<T*>(takeBytes(count * sizeof(T)));
    }
    void release();

private:
    void* takeBytes(uint64_t bytes);
    uint8_t* base_ = nullptr;
    uint64_t size_ = 0;
    uint64_t used_ = 0;
};

}  // namespace counting
