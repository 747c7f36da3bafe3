#include "q64/m2_scratch.h"

#include "numlib/m2_scratch/scratch_area.h"
#include "profiler/hook.h"

namespace scratch {

namespace {
constexpr uint64_t packHeader(uint64_t low, uint64_t high) { return (high << 32) | low; }

// The area with both stacks empty, as at load.
constexpr std::array<uint64_t, kAreaWords> emptyArea() {
    std::array<uint64_t, kAreaWords> words{};
    words[kConstantBounds] = packHeader(kConstantCapacity, 0);  // capacity low, used high
    words[kConstantBounds - 1] = packHeader(kConstantMarker, 0);
    words[kWorkingBounds] = packHeader(0, kWorkingCapacity);  // used low, capacity high
    words[kWorkingBounds + 1] = packHeader(kWorkingMarker, 0);
    return words;
}
}  // namespace

alignas(64) constinit std::array<uint64_t, kAreaWords> area = emptyArea();

namespace {
// Working stack: bounds word = used (low 32) | capacity (high 32);
// marker word = marker (low 32) | blocks allocated (high 32).
uint64_t* workingWord(uint64_t i) { return &area[kWorkingBounds + i]; }
uint64_t workingUsed() { return area[kWorkingBounds] & 0xFFFFFFFFu; }
uint64_t workingCapacity() { return area[kWorkingBounds] >> 32; }
void setWorkingUsed(uint64_t used) {
    area[kWorkingBounds] = (area[kWorkingBounds] & ~uint64_t{0xFFFFFFFFu}) | used;
}
void addWorkingBlocks(int64_t delta) {
    area[kWorkingBounds + 1] += static_cast<uint64_t>(delta) << 32;
}

// Constant stack: bounds word = capacity (low 32) | used (high 32);
// marker word = marker (low 32) | blocks taken (high 32).
uint64_t* constantWord(uint64_t i) { return &area[kConstantBounds - i]; }
uint64_t constantCapacity() { return area[kConstantBounds] & 0xFFFFFFFFu; }
uint64_t constantUsed() { return area[kConstantBounds] >> 32; }

// The room test shared by both stacks, written so that a huge n cannot wrap.
bool fits(uint64_t used, uint64_t capacity, uint64_t n) {
    return used + 2 < capacity && n < capacity - (used + 2);
}
}  // namespace

}  // namespace scratch

using namespace scratch;

extern "C" uint64_t* _2_alocs(uint64_t n) {
    PRF_ENTER(_2_alocs);
    uint64_t used = workingUsed();
    if (!fits(used, workingCapacity(), n)) return nullptr;
    *workingWord(used + 2 + n) = n;
    setWorkingUsed(used + n + 1);
    addWorkingBlocks(1);
    return workingWord(used + 2);
}

extern "C" int64_t _2_frees(void) {
    PRF_ENTER(_2_frees);
    uint64_t used = workingUsed();
    if (used == 0) return -1;
    uint64_t n = *workingWord(used + 1);
    setWorkingUsed(used - (n + 1));
    addWorkingBlocks(-1);
    return static_cast<int64_t>(area[kWorkingBounds + 1] >> 32);
}

extern "C" int64_t _2_freertn(int64_t x) {
    PRF_ENTER(_2_freertn);
    _2_frees();
    return x;
}

extern "C" uint64_t _2_sizes(void) {
    PRF_ENTER(_2_sizes);
    return *workingWord(workingUsed() + 1);
}

extern "C" uint64_t* _2_addrs(void) {
    PRF_ENTER(_2_addrs);
    uint64_t used = workingUsed();
    if (used == 0) return nullptr;
    uint64_t n = *workingWord(used + 1);
    return workingWord(used + 1 - n);
}

extern "C" int64_t _2_left(void) {
    PRF_ENTER(_2_left);
    return static_cast<int64_t>(workingCapacity()) - static_cast<int64_t>(workingUsed() + 2);
}

extern "C" uint64_t* _2_inistk(uint64_t k) {
    PRF_ENTER(_2_inistk);
    uint64_t capacity = k & 0xFFFFFFFFu;
    if (capacity > kWorkingCapacity) capacity = kWorkingCapacity;
    area[kWorkingBounds] = capacity << 32;
    area[kWorkingBounds + 1] = kWorkingMarker;
    return &area[kWorkingBounds];
}

extern "C" uint64_t* _2_caloc(uint64_t n) {
    PRF_ENTER(_2_caloc);
    uint64_t used = constantUsed();
    if (!fits(used, constantCapacity(), n)) return nullptr;
    *constantWord(used + 2 + n) = n;
    area[kConstantBounds] += (n + 1) << 32;
    area[kConstantBounds - 1] += uint64_t{1} << 32;
    return constantWord(used + 1 + n);
}
