#include "primetable/interval/short_interval.h"

#include "numlib/m0_utilities/prime_test64.h"
#include "primetable/interval/interval_runs.h"
#include "primetable/interval/interval_tuning.h"
#include "primetable/interval/prime_bounds.h"
#include "primetable/run_control.h"

namespace interval {
namespace {

constexpr uint64_t kNumbersPerReport = uint64_t{1} << 16;
constexpr uint64_t kBatch = 1024;
bool testsAllowed = true;

// Calls visit(n) for every prime n of [a, b], ascending; false when the
// progress hook or visit stopped the walk. n + 1 never wraps: the walk ends
// at b before it could.
template <class Visit>
bool walkPrimes(uint64_t a, uint64_t b, Visit visit) {
    if (primetable::progressStops(0, b - a)) return false;
    for (uint64_t n = a;; ++n) {
        if (wordmath::isPrime64(n) && !visit(n)) return false;
        if (n == b) return true;
        if ((n - a) % kNumbersPerReport == kNumbersPerReport - 1 && primetable::progressStops(n - a, b - a))
            return false;
    }
}

}  // namespace

bool testsBeatSieving(uint64_t a, uint64_t b) {
    return testsAllowed && b - a < squareRootFloor(b) / tuning::kTestsRootDivisor;
}

uint64_t countByTests(uint64_t a, uint64_t b) {
    uint64_t count = 0;
    return walkPrimes(a, b, [&](uint64_t) { return ++count, true; }) ? count : kFailed;
}

int64_t eachByTests(uint64_t a, uint64_t b, Q64PrimeSink sink, void* context) {
    uint64_t batch[kBatch];
    uint64_t filled = 0;
    const bool whole = walkPrimes(a, b, [&](uint64_t p) {
        batch[filled++] = p;
        if (filled < kBatch) return true;
        filled = 0;
        return sink(batch, kBatch, context) == 0;
    });
    if (!whole) return 1;
    return filled != 0 && sink(batch, filled, context) != 0 ? 1 : 0;
}

namespace testing {
void allowTests(bool allowed) { testsAllowed = allowed; }
}  // namespace testing

}  // namespace interval
