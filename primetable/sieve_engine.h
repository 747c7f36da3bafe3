// The segmented sieve behind the sieve passes: crosses off a target block in
// cache-sized segments, with the small primes pre-sieved by patterns and every
// prime stepping through its multiples without a division.
//
// It gives the same bits as crossing off one prime after another with a
// division per multiple: for each prime the same multiples are marked (those
// from the first one at or above `lowest`, or from 2 p when p >= lowest), and
// the primes of the table pass are taken in the same ascending order from the
// same bitmap, stopping at the same prime. A clear bit inside the target is
// read only once every prime below it has crossed off its segment, which is
// when the one-prime-at-a-time order would read it too. Multiples outside the
// target are never set, even when `lowest` lies below it.
#pragma once

#include <cstdint>

#include "primetable/table_words.h"

namespace sieve {

enum class PrimeSource {
    kNone,      // no table pass
    kHeadOnly,  // the clear bits of head's bitmap, positions counted in head
    kChain,     // the clear bits of the chain from head, table-wide positions
};

struct Pass {
    TableBlock* target = nullptr;
    uint64_t lowest = 0;          // crossing off starts at the first multiple >= lowest
    bool smallPrimes = false;     // cross off 11 .. 199 (those with p^2 < limit)
    PrimeSource source = PrimeSource::kNone;
    TableBlock* head = nullptr;
    bool freshTarget = false;     // the bitmap holds nothing yet: written without being read
    // Start the table primes at p^2 instead of 2 p: the same bits whenever the
    // target holds no bit that the small primes and the smaller table primes
    // would not set (a fresh block sieved in the same pass).
    bool fromSquare = false;
    // When set: one counter per primeindex::kSegmentWords words of the
    // target, to which the pass adds the clear bits of those words as it
    // stores them (for a fresh target, whose bits it writes whole).
    uint64_t* clearCounts = nullptr;

    // Results of the table pass: the last prime taken and the scan position
    // after it, as the one-prime-at-a-time pass leaves them in SieveWork.
    bool tookPrime = false;
    uint64_t prime = 0;
    uint64_t scan = 0;
};

// Runs the pass, on as many threads as primetable::sieveThreads() allows,
// with the same bits and results whatever that number. False (nothing
// changed) when the table is too large for the pass's static lists; the
// caller then crosses off one prime at a time. Not reentrant.
bool run(Pass& pass);

namespace testing {
// Switches the segmented sieve off (run answers false) or back on, so that
// tests reach the one-prime-at-a-time passes.
void enableSegmentedSieve(bool on);
// How many threads sieved in the last run (1 when it did not share out).
unsigned threadsOfLastRun();
// Whether run takes a pass over `target` (judged from its header alone).
bool takesTarget(const TableBlock* target);
// Sieves in segments and chunks of the given word counts (0 or more than the
// usual size: the usual size), so that tests reach segment boundaries on
// small tables.
void setSegmentWords(uint64_t segmentWords, uint64_t chunkWords);
}  // namespace testing

}  // namespace sieve
