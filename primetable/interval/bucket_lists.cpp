#include "primetable/interval/bucket_lists.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "platform/precondition.h"
#include "primetable/interval/bucket_starts.h"
#include "primetable/interval/interval_tuning.h"
#include "primetable/interval/prime_bounds.h"
#include "primetable/sieve_steps.h"
#include "primetable/wheel.h"

namespace interval {

// A page of a list: its first slot holds the address of the page below it,
// the others entries. Pages are aligned to their size, so that a list's
// write position alone tells its page and when the page is full: a push
// touches the entry's line and no header.
struct BucketLists::Page {
    BucketEntry slots[tuning::kPageEntries];
};

namespace {

constexpr uint64_t kPageBytes = sizeof(BucketEntry) * tuning::kPageEntries;
static_assert((kPageBytes & (kPageBytes - 1)) == 0);
constexpr uint64_t kEntriesPerPage = tuning::kPageEntries - 1;

// Entries to look ahead when fetching their segment bytes early: the first
// multiples lie anywhere in the segment. At [10^18, 10^18 + 4 * 10^9] on one
// thread, user time against 16 (two builds run side by side, six pairs): 8
// took 0.965 to 0.991 of it; against 8, 4 took 1.02 and 12 1.08 (medians).
constexpr uint64_t kAhead = 8;
// Entries to fetch ahead in a page, and with the next page's first lines:
// cycles of the cross-off at [10^18, 10^18 + 4 * 10^9] on one thread,
// medians of five to seven runs in three sets, 0.94 to 0.98 of those
// without (32 entries 0.97, 256 0.96).
constexpr uint64_t kEntriesAhead = 128;

// The largest step of a prime up to `root`, in bytes: ten times q numbers.
uint64_t largestStep(uint64_t root) { return 10 * 6 * (root / wheel::kModulus) + 64; }

uint64_t headCount(uint64_t root, unsigned shift) {
    uint64_t reach = (largestStep(root) >> shift) + 2;
    uint64_t n = 1;
    while (n < reach) n <<= 1;
    return n;
}

// Every entry is in one list; each list has at most one page not full.
uint64_t pageCount(uint64_t root, uint64_t heads, unsigned shares) {
    uint64_t primes = primesUpTo(root) / shares + 1;
    return primes / kEntriesPerPage + (2 * heads < primes ? 2 * heads : primes) + 2;
}

}  // namespace

inline BucketLists::Page* BucketLists::pageOf(BucketEntry* position) {
    return reinterpret_cast<Page*>(reinterpret_cast<uintptr_t>(position) & ~(kPageBytes - 1));
}

inline BucketLists::Page* BucketLists::below(Page* page) {
    Page* p;
    std::memcpy(&p, page->slots, sizeof p);
    return p;
}

inline void BucketLists::setBelow(Page* page, Page* p) { std::memcpy(page->slots, &p, sizeof p); }

uint64_t BucketLists::memoryFor(uint64_t root, unsigned segmentShift, unsigned shares) {
    uint64_t heads = headCount(root, segmentShift);
    return ((16 * heads + 63) & ~uint64_t{63}) + kPageBytes + pageCount(root, heads, shares) * kPageBytes;
}

void BucketLists::start(uint8_t* memory, uint64_t root, unsigned segmentShift, unsigned shares,
                        uint64_t lastSegment) {
    uint64_t heads = headCount(root, segmentShift);
    heads_ = reinterpret_cast<BucketEntry**>(memory);
    oneHitHeads_ = heads_ + heads;
    for (uint64_t i = 0; i < 2 * heads; ++i) heads_[i] = nullptr;
    headMask_ = heads - 1;
    oneHitFloor_ = tuning::kOneHitFloorFactor << segmentShift;
    auto pool = reinterpret_cast<uintptr_t>(memory + 16 * heads);
    pages_ = reinterpret_cast<Page*>((pool + kPageBytes - 1) & ~(kPageBytes - 1));
    pageCount_ = pageCount(root, heads, shares);
    pagesUsed_ = 0;
    free_ = nullptr;
    shift_ = segmentShift;
    lastSegment_ = lastSegment;
}

BucketLists::Page* BucketLists::newPage() {
    Page* p = free_;
    if (p != nullptr) {
        free_ = below(p);
    } else {
        Q64_ASSERT(pagesUsed_ < pageCount_);
        p = pages_ + pagesUsed_++;
    }
    return p;
}

// A write position at a page boundary (or null) has no room left. The new
// page is out of line, so that the loops that push keep their values in
// registers.
inline void BucketLists::push(BucketEntry*& at, BucketEntry e) {
    if ((reinterpret_cast<uintptr_t>(at) & (kPageBytes - 1)) == 0) [[unlikely]]
        at = startPage(at);
    *at++ = e;
}

__attribute__((noinline)) BucketEntry* BucketLists::startPage(BucketEntry* full) {
    Page* p = newPage();
    setBelow(p, full == nullptr ? nullptr : pageOf(full - 1));
    return p->slots + 1;
}

namespace {

// One step of a prime of residue index ri from cofactor index j: the bit to
// set, the bytes to the next multiple beside gap * 6 (q div 210), and the
// entry of the next cofactor. Indexed by 48 ri + j, so that an entry keeps
// one index and each multiple costs one table load.
struct Step {
    uint16_t byteGap;
    uint16_t next;
    uint8_t mask;
    uint8_t gap;
    uint16_t unused;
};

constexpr std::array<Step, wheel::kSpokes * wheel::kSpokes> makeSteps() {
    std::array<Step, wheel::kSpokes * wheel::kSpokes> steps{};
    for (uint64_t ri = 0; ri < wheel::kSpokes; ++ri)
        for (uint64_t j = 0; j < wheel::kSpokes; ++j) {
            Step& s = steps[wheel::kSpokes * ri + j];
            s.byteGap = sieve::kByteGap[ri][j];
            s.mask = sieve::kMask[ri][j];
            s.gap = sieve::kGap[j];
            s.next = static_cast<uint16_t>(wheel::kSpokes * ri + (j + 1) % wheel::kSpokes);
        }
    return steps;
}

constexpr std::array<Step, wheel::kSpokes * wheel::kSpokes> kSteps = makeSteps();

constexpr unsigned kStepBits = 12;  // 48 * 48 step entries
constexpr uint32_t kStepMask = (1u << kStepBits) - 1;

}  // namespace

void BucketLists::addPrimes(const uint32_t* primes, uint64_t count, const Span& span) {
    // Primes come in ascending order: those of many multiples per segment,
    // then those of a few.
    const uint32_t* fewHits = std::lower_bound(primes, primes + count, oneHitFloor_);
    addPrimes(primes, fewHits, span, heads_);
    addPrimes(fewHits, primes + count, span, oneHitHeads_);
}

// Kept in locals: the pushes store through pointers the compiler cannot
// tell from the span or the fields.
void BucketLists::addPrimes(const uint32_t* from, const uint32_t* to, const Span& span, BucketEntry** heads) {
    const unsigned shift = shift_;
    const uint64_t segmentMask = (uint64_t{1} << shift) - 1;
    const uint64_t endBit = span.endBit;
    const uint64_t mask = headMask_;
    Starts starts;
    while (from < to) {
        const uint64_t n = static_cast<uint64_t>(to - from) < kStartBlock ? static_cast<uint64_t>(to - from) : kStartBlock;
        computeStarts(from, n, span, starts);
        for (uint64_t i = 0; i < n; ++i) {
            // Below endBit exactly when the multiple is at most hi: it is at least lo.
            const uint64_t bit = starts.bits[i];
            if (bit >= endBit) continue;
            const uint64_t byte = bit / 8;
            push(heads[(byte >> shift) & mask],
                 BucketEntry{starts.primes[i], static_cast<uint32_t>((byte & segmentMask) << kStepBits | starts.keys[i])});
        }
        from += n;
    }
}

template <bool kOneHit>
void BucketLists::crossOffList(BucketEntry** heads, uint8_t* seg, uint64_t segment) {
    const uint64_t mask = headMask_;
    BucketEntry* end = heads[segment & mask];
    heads[segment & mask] = nullptr;
    if (end == nullptr) return;
    Page* page = pageOf(end - 1);
    // Kept in registers: the pushes below store through pointers the
    // compiler cannot tell from these fields.
    const unsigned shift = shift_;
    const uint64_t segBytes = uint64_t{1} << shift;
    const uint64_t last = lastSegment_;
    auto cross = [&](const BucketEntry e) {
        const uint64_t q6 = 6 * uint64_t{e.prime};
        uint64_t b = e.where >> kStepBits;
        uint32_t k = e.where & kStepMask;
        do {
            const Step& s = kSteps[k];
            seg[b] |= s.mask;
            b += s.byteGap + s.gap * q6;
            k = s.next;
        } while (!kOneHit && b < segBytes);
        uint64_t next = segment + (b >> shift);
        if (next <= last)
            push(heads[next & mask], BucketEntry{e.prime, static_cast<uint32_t>((b & (segBytes - 1)) << kStepBits | k)});
    };
    while (page != nullptr) {
        BucketEntry* at = page->slots + 1;
        // The pages come from memory: the next page's first lines and, once
        // a line, the entries a kilobyte ahead are fetched early.
        if (Page* next = below(page))
            for (uint64_t line = 0; line < 4; ++line) __builtin_prefetch(reinterpret_cast<const char*>(next) + 64 * line);
        for (; at + kAhead < end; ++at) {
            if ((reinterpret_cast<uintptr_t>(at) & 63) == 0) __builtin_prefetch(at + kEntriesAhead);
            __builtin_prefetch(seg + (at[kAhead].where >> kStepBits), 1);
            cross(*at);
        }
        for (; at < end; ++at) cross(*at);
        Page* done = page;
        page = below(page);
        end = page == nullptr ? nullptr : page->slots + tuning::kPageEntries;
        setBelow(done, free_);
        free_ = done;
    }
}

void BucketLists::crossOff(uint8_t* seg, uint64_t segment) {
    crossOffList<false>(heads_, seg, segment);
    do crossOffList<true>(oneHitHeads_, seg, segment);
    while (oneHitHeads_[segment & headMask_] != nullptr);
}

}  // namespace interval
