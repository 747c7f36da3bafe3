// Bucket lists of the largest sieving primes, those with at most a few
// multiples per segment: each prime waits in the list of the segment that
// holds its next multiple, so a segment visits only the primes that mark it.
//
// An entry is 8 bytes: the prime as q div 210, and its next multiple as a
// byte of its segment beside the step it takes from there (48 times the
// index of q mod 210 among the wheel's residues plus the wheel index of the
// cofactor); segments of up to 2^20 bytes. Lists are chains of pages; a circular
// array of list heads covers the segments the largest step can reach.
// Primes of at most a few multiples per segment have lists of their own:
// they mark one multiple per visit, and go back into the segment's list
// while their next multiple lies in it, with no loop whose end the processor
// would mispredict for them and the others alike.
#pragma once

#include <cstdint>

#include "primetable/interval/interval_span.h"

namespace interval {

struct BucketEntry {
    uint32_t prime;  // q div 210
    uint32_t where;  // byte in its segment << 12 | 48 * residue index of q + wheel index of the cofactor
};

class BucketLists {
public:
    // Memory for one in `shares` of the primes up to `root`, whose steps are
    // counted in segments of 2^segmentShift bytes.
    static uint64_t memoryFor(uint64_t root, unsigned segmentShift, unsigned shares);

    // `memory` holds memoryFor(root, segmentShift, shares) bytes, 64-byte aligned.
    void start(uint8_t* memory, uint64_t root, unsigned segmentShift, unsigned shares, uint64_t lastSegment);

    // Adds each prime q of primes[0 .. count - 1] (ascending, below 2^32) at
    // its first multiple in the span at or above q^2 prime to 210; nothing
    // for a prime whose multiple lies past the span.
    void addPrimes(const uint32_t* primes, uint64_t count, const Span& span);

    // Crosses off the primes waiting for `segment` in seg (its bytes from 0;
    // seg has room for a whole segment) and moves each to the list of the
    // segment of its next multiple.
    void crossOff(uint8_t* seg, uint64_t segment);

private:
    struct Page;
    static Page* pageOf(BucketEntry* position);
    static Page* below(Page* page);
    static void setBelow(Page* page, Page* p);
    void addPrimes(const uint32_t* from, const uint32_t* to, const Span& span, BucketEntry** heads);
    Page* newPage();
    BucketEntry* startPage(BucketEntry* full);
    void push(BucketEntry*& at, BucketEntry e);
    template <bool kOneHit>
    void crossOffList(BucketEntry** heads, uint8_t* seg, uint64_t segment);

    // Each list's write position (null when empty), for the primes with
    // many multiples per segment and for those with a few.
    BucketEntry** heads_ = nullptr;
    BucketEntry** oneHitHeads_ = nullptr;
    uint64_t headMask_ = 0;
    uint64_t oneHitFloor_ = 0;   // primes from here on have a few
    Page* pages_ = nullptr;      // the pool
    uint64_t pagesUsed_ = 0;
    uint64_t pageCount_ = 0;
    Page* free_ = nullptr;
    unsigned shift_ = 0;
    uint64_t lastSegment_ = 0;
};

}  // namespace interval
