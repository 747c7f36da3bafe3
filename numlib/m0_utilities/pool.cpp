#include "q64/m0_utilities.h"

#include "numlib/m0_utilities/static_records.h"

namespace m0 {
// Every descriptor free at load.
constexpr RecordPool emptyPool() {
    RecordPool pool{};
    pool.size = kPoolWords;
    for (uint64_t& d : pool.descriptors) d = kFree;
    return pool;
}
constinit RecordPool recordPool = emptyPool();
}  // namespace m0

namespace {

using m0::recordPool;

constexpr uint64_t kWholeRegion = 99;
constexpr uint64_t kDefaultItem = 32;
constexpr uint64_t kRecordLengthShift = 28;
constexpr uint64_t kInvalidExponent = uint64_t{1} << 63;
constexpr uint64_t kSizeMask = (uint64_t{1} << 31) - 1;
constexpr uint64_t kHalfWord = 0xFFFFFFFFu;
constexpr uint64_t kMaxRecordWords = 0xFFFFFFF;  // the largest 28-bit record length

uint64_t describe(uint64_t count, uint64_t size) { return count << 32 | size; }
uint64_t countOf(uint64_t descriptor) { return descriptor >> 32; }
uint64_t sizeOf(uint64_t descriptor) { return descriptor & kSizeMask; }

// Formats `count` empty records of z words (z >= 2) from `at`.
void formatItems(uint64_t* at, uint64_t count, uint64_t z) {
    for (uint64_t i = 0; i < count; ++i, at += z) {
        at[0] = z << kRecordLengthShift;
        at[1] = kInvalidExponent;
    }
}

bool anyInUse() {
    for (uint64_t d : recordPool.descriptors) {
        if (d != m0::kFree) return true;
    }
    return false;
}

uint64_t* itemOf(uint64_t* start, uint64_t descriptor, uint64_t i) {
    if (descriptor == m0::kFree || i >= countOf(descriptor)) return nullptr;
    return start + i * sizeOf(descriptor);
}

}  // namespace

extern "C" int64_t poolregion(uint64_t r, uint64_t z) {
    if (z == 0) z = kDefaultItem;
    if (r == kWholeRegion) return poolwhole(z);
    if (r >= m0::kRegions || z < 3 || z > m0::kRegionWords) return -1;
    uint64_t& descriptor = recordPool.descriptors[r];
    if (recordPool.descriptors[m0::kWholePool] != m0::kFree || descriptor != m0::kFree) return -1;
    const uint64_t count = m0::kRegionWords / z;
    formatItems(poolbase(r), count, z);
    descriptor = describe(count, z);
    return static_cast<int64_t>(count);
}

extern "C" int64_t poolwhole(uint64_t z) {
    // One-word items would leave no room for the exponent word.
    if (z < 2 || z > m0::kPoolWords || anyInUse()) return -1;
    const uint64_t count = m0::kPoolWords / z;
    formatItems(recordPool.words, count, z);
    recordPool.descriptors[m0::kWholePool] = describe(count, z);
    return static_cast<int64_t>(count);
}

extern "C" uint64_t* poolitem(uint64_t r, uint64_t i) {
    if (r >= m0::kRegions) return nullptr;
    return itemOf(poolbase(r), recordPool.descriptors[r], i);
}

extern "C" uint64_t* poolitem32(uint64_t i) {
    return itemOf(recordPool.words, recordPool.descriptors[m0::kWholePool], i);
}

extern "C" int64_t poolfree(uint64_t r) {
    if (r >= m0::kRegions) return -1;
    uint64_t& descriptor = recordPool.descriptors[r];
    if (descriptor == m0::kFree) return 1;
    descriptor = m0::kFree;
    return 0;
}

extern "C" uint64_t* poolbase(uint64_t r) {
    if (r >= m0::kRegions) return nullptr;
    return recordPool.words + r * m0::kRegionWords;
}

extern "C" int64_t regformat(uint64_t* area, uint64_t w, uint64_t z) {
    if (z == 0) z = kDefaultItem;
    if (z >= w || z < 2) return -1;
    const uint64_t count = (w - 1) / z;
    // Word 0 must describe the region, and each item header its length.
    if (z > kMaxRecordWords || count > kHalfWord) return -1;
    area[0] = describe(count, z);
    formatItems(area + 1, count, z);
    return static_cast<int64_t>(count);
}

extern "C" uint64_t* regitem(uint64_t* area, uint64_t i) {
    const uint64_t count = area[0] >> 32, z = area[0] & kHalfWord;
    if (i >= count) return nullptr;
    return area + 1 + i * z;
}
