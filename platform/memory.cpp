#include "platform/memory.h"

#include <sys/mman.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace platform {
namespace {

// Bookkeeping of live blocks: the prime table holds at most a few dozen blocks
// (a rebuild to the largest size takes fifteen 128 MB blocks plus the rest).
struct LiveBlock {
    void* address;
    uint64_t bytes;
};
constexpr size_t kMaxBlocks = 4096;
LiveBlock live[kMaxBlocks];
size_t liveCount = 0;

// Memory kept free for the process's own needs and the rest of the machine.
constexpr uint64_t kSafetyMarginBytes = uint64_t{512} << 20;

// Test refusal limits. A test that runs the whole program sets them through
// the environment (Q64_REFUSE_AFTER_BLOCKS, Q64_REFUSE_AFTER_BYTES), read once
// before the first request.
uint64_t refusalBlocksLeft = UINT64_MAX;
uint64_t refusalBytesLeft = UINT64_MAX;
bool environmentRead = false;

void readRefusalsFromEnvironment() {
    environmentRead = true;
    auto number = [](const char* name, uint64_t& out) {
        const char* text = std::getenv(name);
        if (text && *text) out = std::strtoull(text, nullptr, 10);
    };
    number("Q64_REFUSE_AFTER_BLOCKS", refusalBlocksLeft);
    number("Q64_REFUSE_AFTER_BYTES", refusalBytesLeft);
}

uint64_t readMemAvailable() {
    std::FILE* f = std::fopen("/proc/meminfo", "r");
    if (!f) return 0;
    char line[256];
    uint64_t kib = 0;
    while (std::fgets(line, sizeof line, f)) {
        unsigned long long v = 0;
        if (std::sscanf(line, "MemAvailable: %llu kB", &v) == 1) {
            kib = v;
            break;
        }
    }
    std::fclose(f);
    return kib * 1024;
}

// A cgroup (v2) memory limit, when the process runs under one: what is left
// below memory.max.
uint64_t readCgroupRoom() {
    auto readNumber = [](const char* path, uint64_t& out) {
        std::FILE* f = std::fopen(path, "r");
        if (!f) return false;
        char text[64] = {};
        bool ok = std::fgets(text, sizeof text, f) != nullptr;
        std::fclose(f);
        if (!ok || std::strncmp(text, "max", 3) == 0) return false;
        unsigned long long v = 0;
        if (std::sscanf(text, "%llu", &v) != 1) return false;
        out = v;
        return true;
    };
    uint64_t limit = 0, current = 0;
    if (!readNumber("/sys/fs/cgroup/memory.max", limit)) return UINT64_MAX;
    if (!readNumber("/sys/fs/cgroup/memory.current", current)) return UINT64_MAX;
    return limit > current ? limit - current : 0;
}

}  // namespace

uint64_t committableBytes() {
    uint64_t available = readMemAvailable();
    uint64_t cgroupRoom = readCgroupRoom();
    if (cgroupRoom < available) available = cgroupRoom;
    return available > kSafetyMarginBytes ? available - kSafetyMarginBytes : 0;
}

void* commitBlock(uint64_t bytes) {
    if (!environmentRead) readRefusalsFromEnvironment();
    if (bytes == 0 || liveCount == kMaxBlocks) return nullptr;
    if (refusalBlocksLeft == 0 || bytes > refusalBytesLeft) return nullptr;
    if (bytes > committableBytes()) return nullptr;
    // MAP_POPULATE faults every page in now, so the block is resident when it
    // is handed out rather than on first touch.
    void* p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE,
                   MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
    if (p == MAP_FAILED) return nullptr;
    live[liveCount++] = LiveBlock{p, bytes};
    if (refusalBlocksLeft != UINT64_MAX) --refusalBlocksLeft;
    if (refusalBytesLeft != UINT64_MAX) refusalBytesLeft -= bytes;
    return p;
}

bool releaseBlock(void* block) {
    for (size_t i = 0; i < liveCount; ++i) {
        if (live[i].address != block) continue;
        if (munmap(block, live[i].bytes) != 0) return false;
        live[i] = live[--liveCount];
        return true;
    }
    return false;
}

uint64_t liveBlockCount() { return liveCount; }

uint64_t liveBlockBytes() {
    uint64_t sum = 0;
    for (size_t i = 0; i < liveCount; ++i) sum += live[i].bytes;
    return sum;
}

namespace testing {
void refuseAfter(uint64_t blocks, uint64_t bytes) {
    environmentRead = true;
    refusalBlocksLeft = blocks;
    refusalBytesLeft = bytes;
}
void clearRefusals() {
    refusalBlocksLeft = UINT64_MAX;
    refusalBytesLeft = UINT64_MAX;
}
}  // namespace testing

}  // namespace platform
