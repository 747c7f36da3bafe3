#include "python/bindings/interim_routines.h"

#include "platform/memory.h"
#include "primetable/run_control.h"
#include "primetable/sieve_threads.h"
#include "primetable/table_words.h"
#include "q64/m5_primetable.h"

namespace interim {

namespace {

constexpr uint64_t kAllOnes = ~uint64_t{0};
constexpr uint64_t kBatch = 4096;

TableBlock* head = nullptr;
uint64_t primeCount = 0;  // of the table

// The number of primes up to x (below the table's limit): the largest k whose
// k-th prime is at most x, by bisection over the table's primes.
uint64_t primesUpTo(uint64_t x) {
    uint64_t low = 0, high = primeCount;  // pi(x) lies in [low, high]
    while (low < high) {
        const uint64_t mid = low + (high - low + 1) / 2;
        if (_5_prmnoth(mid, head) <= x)
            low = mid;
        else
            high = mid - 1;
    }
    return low;
}

}  // namespace

bool haveTable() {
    if (head != nullptr) return true;
    auto* block = static_cast<TableBlock*>(
        platform::commitBlock(table::kStartBlockWords * sizeof(uint64_t), primetable::sieveThreads()));
    if (block == nullptr) return false;
    if (_5_prmnew(table::kStartBlockWords, block) != 0) {
        platform::releaseBlock(block);
        return false;
    }
    head = block;
    primeCount = static_cast<uint64_t>(_5_prmtcnt(head));
    return true;
}

q64py::Limit nthReach() {
    if (!haveTable()) return {};
    return {Q2Value{primeCount, 0}, "the primes of the 1 MB prime table"};
}

q64py::Limit tableReach() {
    if (!haveTable()) return {};
    return {Q2Value{head[table::kLimit] - 1, 0}, "the end of the 1 MB prime table"};
}

uint64_t prmnthx(uint64_t k) { return k == 0 || k > primeCount ? kAllOnes : _5_prmnoth(k, head); }

uint64_t prmpi(uint64_t x) { return primesUpTo(x); }

uint64_t prmcount(uint64_t a, uint64_t b) {
    if (a > b) return kAllOnes;
    return primesUpTo(b) - (a == 0 ? 0 : primesUpTo(a - 1));
}

int64_t prmeach(uint64_t a, uint64_t b, PrimeSink sink, void* context) {
    if (a > b) return -1;
    uint64_t batch[kBatch];
    uint64_t filled = 0;
    Q2Value p = a <= 2 ? Q2Value{2, 0} : _5_prmnext(a - 1, 0, head);
    for (; p.hi == 0 && p.lo <= b; p = _5_prmnext(p.lo, 0, head)) {
        batch[filled++] = p.lo;
        if (filled < kBatch) continue;
        if (sink(batch, filled, context) != 0 || primetable::progressStops(p.lo - a, b - a)) return 1;
        filled = 0;
    }
    if (filled != 0 && sink(batch, filled, context) != 0) return 1;
    return 0;
}

}  // namespace interim
