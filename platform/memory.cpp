#include "platform/memory.h"

#include <sys/mman.h>

#include <cerrno>
#include <cstdlib>

#include "platform/worker_threads.h"

namespace platform {
namespace {

// Bookkeeping of live blocks: the prime table holds at most a few dozen blocks
// (a rebuild to the largest size takes fifteen 128 MB blocks plus the rest).
struct LiveBlock {
    void* address;
    uint64_t bytes;
    uint64_t serial;  // 1 for the first block handed out, 2 for the next, ...
};
constexpr size_t kMaxBlocks = 4096;
LiveBlock live[kMaxBlocks];
size_t liveCount = 0;
uint64_t blocksHandedOut = 0;

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

// Backs every page of a fresh mapping now, so the block is resident when it
// is handed out rather than on first touch. (Huge pages were measured slower:
// a 1280 MB rebuild took 7.2-7.6 s of CPU with them, 6.6 s without, on the
// 2-core build machine.)
bool populate(void* p, uint64_t bytes) {
    for (int attempt = 0; attempt < 8; ++attempt) {
        if (madvise(p, bytes, MADV_POPULATE_WRITE) == 0) return true;
        if (errno == EINTR || errno == EAGAIN) continue;
        if (errno != EINVAL) return false;  // ENOMEM and the like: refused
        // A kernel without MADV_POPULATE_WRITE (before 5.14): touch each page.
        volatile char* c = static_cast<volatile char*>(p);
        for (uint64_t i = 0; i < bytes; i += 4096) c[i] = 0;
        return true;
    }
    return false;
}

// Backing a block on several threads: each takes the next piece from a
// shared counter until none is left or one piece is refused.
constexpr uint64_t kPopulatePieceBytes = uint64_t{16} << 20;

struct SharedPopulate {
    char* block;
    uint64_t bytes;
    uint64_t nextPiece;  // taken with an atomic increment
    bool refused;
};
SharedPopulate sharedPopulate;

void populatePieces(unsigned, void* context) {
    auto* work = static_cast<SharedPopulate*>(context);
    for (;;) {
        uint64_t start = __atomic_fetch_add(&work->nextPiece, 1, __ATOMIC_RELAXED) * kPopulatePieceBytes;
        if (start >= work->bytes || __atomic_load_n(&work->refused, __ATOMIC_RELAXED)) return;
        uint64_t n = work->bytes - start < kPopulatePieceBytes ? work->bytes - start : kPopulatePieceBytes;
        if (!populate(work->block + start, n)) __atomic_store_n(&work->refused, true, __ATOMIC_RELAXED);
    }
}

bool populateOnThreads(void* p, uint64_t bytes, unsigned threads) {
    uint64_t pieces = (bytes + kPopulatePieceBytes - 1) / kPopulatePieceBytes;
    if (threads > pieces) threads = static_cast<unsigned>(pieces);
    if (threads <= 1) return populate(p, bytes);
    sharedPopulate = SharedPopulate{static_cast<char*>(p), bytes, 0, false};
    runOnThreads(threads, populatePieces, &sharedPopulate);
    return !sharedPopulate.refused;
}

}  // namespace

void* commitBlock(uint64_t bytes, unsigned threads) {
    if (!environmentRead) readRefusalsFromEnvironment();
    if (bytes == 0 || liveCount == kMaxBlocks) return nullptr;
    if (refusalBlocksLeft == 0 || bytes > refusalBytesLeft) return nullptr;
    if (bytes > committableBytes()) return nullptr;
    void* p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) return nullptr;
    if (!populateOnThreads(p, bytes, threads)) {
        munmap(p, bytes);
        return nullptr;
    }
    live[liveCount++] = LiveBlock{p, bytes, ++blocksHandedOut};
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

uint64_t blockSerial(const void* address) {
    for (size_t i = 0; i < liveCount; ++i)
        if (live[i].address == address) return live[i].serial;
    return 0;
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
