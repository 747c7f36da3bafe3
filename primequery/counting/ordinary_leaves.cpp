// S1, the ordinary leaves: mu(m) phi(x / m, c) for the squarefree m <= y
// whose least prime factor exceeds p_c (m = 1 included).
#include <atomic>

#include "primequery/counting/counting_plan.h"
#include "primequery/counting/parallel_pieces.h"

namespace counting {

namespace {

constexpr uint64_t kPeriod = 30030;
constexpr uint64_t kPeriodCount = 5760;  // the numbers in one period prime to it

const uint16_t* phiPeriod() {
    static uint16_t table[kPeriod];
    static bool made = false;
    if (!made) {
        uint16_t count = 0;
        for (uint64_t v = 0; v < kPeriod; ++v) {
            if (v % 2 != 0 && v % 3 != 0 && v % 5 != 0 && v % 7 != 0 && v % 11 != 0 && v % 13 != 0) ++count;
            table[v] = count;
        }
        made = true;
    }
    return table;
}

}  // namespace

uint64_t phiSmall(uint64_t v) { return v / kPeriod * kPeriodCount + phiPeriod()[v % kPeriod]; }

bool ordinaryLeaves(CountingPlan& plan, Wide& sum) {
    phiPeriod();
    const uint64_t entries = wheelCount(plan.y);
    constexpr uint64_t kPieceEntries = uint64_t{1} << 16;
    const uint64_t pieces = (entries + kPieceEntries - 1) / kPieceEntries;
    Wide sums[platform::kMaxThreads] = {};
    const bool whole = forEachPiece(pieces, plan.threads, [&](uint64_t piece, unsigned worker) {
        const uint64_t first = piece * kPieceEntries;
        const uint64_t last = first + kPieceEntries < entries ? first + kPieceEntries : entries;
        Wide s = 0;
        for (uint64_t i = first; i < last; ++i) {
            const int32_t v = plan.factors[i];
            if (v > kPrimeC)
                s += phiSmall(plan.x / wheelNumber(i));
            else if (v < -kPrimeC)
                s -= phiSmall(plan.x / wheelNumber(i));
        }
        sums[worker] += s;
    });
    for (const Wide& s : sums) sum += s;
    return whole;
}

}  // namespace counting
