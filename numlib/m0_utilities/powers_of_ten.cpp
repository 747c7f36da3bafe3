#include "platform/precondition.h"
#include "q64/m0_utilities.h"

namespace {
constexpr uint64_t kEntries = 20;

constexpr uint64_t power(unsigned i) {
    uint64_t v = 1;
    while (i-- > 0) v *= 10;
    return v;
}
// 10^19 is the last power of ten below 2^64: one more factor would wrap.
static_assert(power(kEntries - 1) > UINT64_MAX / 10);
static_assert(power(16) == NUMREC_PETA);
}  // namespace

extern "C" constinit const uint64_t pow10tab[kEntries] = {
    power(0),  power(1),  power(2),  power(3),  power(4),  power(5),  power(6),
    power(7),  power(8),  power(9),  power(10), power(11), power(12), power(13),
    power(14), power(15), power(16), power(17), power(18), power(19),
};

extern "C" uint64_t pow10val(uint64_t i) { return i < kEntries ? pow10tab[i] : ~uint64_t{0}; }

extern "C" const uint64_t* pow10ptr(uint64_t i) {
    Q64_ASSERT(i < kEntries);
    return &pow10tab[i];
}
