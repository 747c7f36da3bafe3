#include "primetable/prime_index.h"

#include <cstring>

#include "platform/memory.h"
#include "platform/work_memory.h"
#include "primetable/clear_bits.h"

namespace primeindex {
namespace {

// A chain longer than the platform's block list cannot be its blocks.
constexpr uint64_t kMaxRecords = 4096;

struct BlockRecord {
    const TableBlock* block;
    uint64_t serial;  // platform::blockSerial of the block when it was counted
    uint64_t bitmapWords;
    uint64_t firstSegment;
};

// An array that starts in a static record of kInline elements and moves to
// the platform's work memory when it outgrows it.
template <typename T, uint64_t kInline>
class Store {
public:
    T* data() { return data_; }
    uint64_t bytes() const { return mappedBytes_ != 0 ? mappedBytes_ : sizeof inline_; }
    // Room for n elements, the first `used` kept; false when memory is refused.
    bool reserve(uint64_t n, uint64_t used) {
        if (n <= capacity_) return true;
        uint64_t want = capacity_ * 2 > n ? capacity_ * 2 : n;
        uint64_t bytes = (want * sizeof(T) + 4095) & ~uint64_t{4095};
        auto* p = static_cast<T*>(platform::mapWorkMemory(bytes));
        if (p == nullptr) return false;
        std::memcpy(static_cast<void*>(p), data_, used * sizeof(T));
        release();
        data_ = p;
        capacity_ = bytes / sizeof(T);
        mappedBytes_ = bytes;
        return true;
    }
    // Back to the static record.
    void release() {
        if (mappedBytes_ != 0) platform::unmapWorkMemory(data_, mappedBytes_);
        data_ = inline_;
        capacity_ = kInline;
        mappedBytes_ = 0;
    }

private:
    T inline_[kInline] = {};
    T* data_ = inline_;
    uint64_t capacity_ = kInline;
    uint64_t mappedBytes_ = 0;
};

// before[i]: clear bits of the table before segment i; while a block is being
// sieved, its segments hold their own counts instead.
Store<uint64_t, 128> before;  // 8 MB of table in the static record
Store<BlockRecord, 16> records;
uint64_t segmentCount = 0;
uint64_t recordCount = 0;
uint64_t clearTotal = 0;
const TableBlock* indexedHead = nullptr;
bool valid = false;

void reset() {
    valid = false;
    indexedHead = nullptr;
    segmentCount = recordCount = clearTotal = 0;
}

// Adds a record and zeroed segment counts for `block`; null (and the index
// reset) when the block is not a platform block or memory is refused.
uint64_t* addBlock(const TableBlock* block) {
    uint64_t serial = platform::blockSerial(block);
    uint64_t words = table::bitmapWords(block);
    uint64_t n = segmentsOf(words);
    if (serial == 0 || recordCount == kMaxRecords || !records.reserve(recordCount + 1, recordCount) ||
        !before.reserve(segmentCount + n, segmentCount)) {
        reset();
        return nullptr;
    }
    records.data()[recordCount++] = BlockRecord{block, serial, words, segmentCount};
    uint64_t* counts = before.data() + segmentCount;
    std::memset(counts, 0, n * sizeof(uint64_t));
    segmentCount += n;
    return counts;
}

}  // namespace

uint64_t* beginTable(const TableBlock* head) {
    reset();
    uint64_t* counts = addBlock(head);
    if (counts != nullptr) indexedHead = head;
    return counts;
}

uint64_t* beginAppend(const TableBlock* head, const TableBlock* block) {
    if (!describes(head)) {
        reset();
        return nullptr;
    }
    valid = false;
    return addBlock(block);
}

void endBlock(const TableBlock* block, bool counted) {
    if (indexedHead == nullptr || recordCount == 0) return;
    const BlockRecord& r = records.data()[recordCount - 1];
    if (r.block != block) return;
    uint64_t* counts = before.data() + r.firstSegment;
    uint64_t n = segmentCount - r.firstSegment;
    const uint64_t* bitmap = block + table::kFirstBitmapWord;
    for (uint64_t i = 0; i < n; ++i) {
        if (!counted) {
            uint64_t first = i * kSegmentWords;
            uint64_t words = r.bitmapWords - first < kSegmentWords ? r.bitmapWords - first : kSegmentWords;
            counts[i] = table::clearBits(bitmap + first, words);
        }
        uint64_t c = counts[i];
        counts[i] = clearTotal;
        clearTotal += c;
    }
    valid = true;
}

void build(const TableBlock* head) {
    if (head == nullptr || beginTable(head) == nullptr) return;
    endBlock(head, false);
    for (const TableBlock* b = table::nextBlock(head); b != nullptr; b = table::nextBlock(b)) {
        if (addBlock(b) == nullptr) return;
        endBlock(b, false);
    }
}

void forget() { valid = false; }

void release() {
    reset();
    before.release();
    records.release();
}

uint64_t memoryBytes() { return before.bytes() + records.bytes(); }

bool describes(const TableBlock* head) {
    if (!valid || head != indexedHead) return false;
    uint64_t r = 0;
    for (const TableBlock* b = head; b != nullptr; b = table::nextBlock(b), ++r) {
        if (r == recordCount) return false;
        const BlockRecord& rec = records.data()[r];
        if (rec.block != b || rec.bitmapWords != table::bitmapWords(b) || platform::blockSerial(b) != rec.serial)
            return false;
    }
    return r == recordCount;
}

Lookup find(const TableBlock* head, uint64_t m, Segment& segment) {
    if (!describes(head)) return Lookup::kNotIndexed;
    if (m == 0 || m > clearTotal) return Lookup::kBeyond;
    // The last segment with fewer than m clear bits before it holds bit m.
    const uint64_t* b = before.data();
    uint64_t lo = 0, hi = segmentCount;  // b[lo] < m; the answer lies in [lo, hi)
    while (hi - lo > 1) {
        uint64_t mid = lo + (hi - lo) / 2;
        if (b[mid] < m) lo = mid;
        else hi = mid;
    }
    const BlockRecord* rec = records.data();
    uint64_t rlo = 0, rhi = recordCount;
    while (rhi - rlo > 1) {
        uint64_t mid = rlo + (rhi - rlo) / 2;
        if (rec[mid].firstSegment <= lo) rlo = mid;
        else rhi = mid;
    }
    const BlockRecord& r = rec[rlo];
    uint64_t first = (lo - r.firstSegment) * kSegmentWords;
    segment.words = r.block + table::kFirstBitmapWord + first;
    segment.count = r.bitmapWords - first < kSegmentWords ? r.bitmapWords - first : kSegmentWords;
    segment.firstWord = r.block[table::kBaseWord] + first;
    segment.before = b[lo];
    return Lookup::kFound;
}

bool total(const TableBlock* head, uint64_t& clearBits) {
    if (!describes(head)) return false;
    clearBits = clearTotal;
    return true;
}

}  // namespace primeindex
