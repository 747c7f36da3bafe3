#include "platform/work_memory.h"

#include <sys/mman.h>

namespace platform {
namespace {
bool refusing = false;
}  // namespace

void* mapWorkMemory(uint64_t bytes) {
    if (refusing || bytes == 0) return nullptr;
    void* p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    return p == MAP_FAILED ? nullptr : p;
}

void unmapWorkMemory(void* memory, uint64_t bytes) {
    if (memory != nullptr) munmap(memory, bytes);
}

void testing::refuseWorkMemory(bool on) { refusing = on; }

}  // namespace platform
