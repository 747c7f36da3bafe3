// The prime-count index: beside the bitmap, the number of primes (clear bits)
// before each segment of kSegmentWords bitmap words (64 KB) of the table, so
// that the n-th prime is found by a binary search and a count inside one
// segment, and the table's prime count is read, not counted.
//
// One table at a time is indexed: the one _5_prmnew built last, as far as
// _5_prmexpd extended it, or the one `build` was asked for (a loaded table).
// Only tables in the platform's blocks are indexed, because the index can see
// whether such a block is still the one it counted (platform::blockSerial);
// a table in memory of the caller's own is counted word by word as before.
// The index is dropped by the routines that set bits by hand (_5_biton,
// _5_prminit, _5_prmflg0, _5_setflg0/1/2), and it no longer describes a
// chain whose blocks were released, replaced or relinked; then `find` and
// `total` answer kNotIndexed and the callers count as before.
//
// Memory: 8 bytes per segment (0.012 % of the table) and 32 bytes per block,
// in static records for tables of up to 8 MB in 16 blocks and in the
// platform's work memory beyond (grown by doubling, so at most 0.025 % of a
// table of large blocks). When that memory is refused the table is not
// indexed.
#pragma once

#include <cstdint>

#include "primetable/table_words.h"

namespace primeindex {

inline constexpr uint64_t kSegmentWords = 8192;

// Segments of a block of `bitmapWords` bitmap words.
inline uint64_t segmentsOf(uint64_t bitmapWords) { return (bitmapWords + kSegmentWords - 1) / kSegmentWords; }

// Starts the index of a new table whose only block is `head` (its header
// written, its bitmap about to be sieved) and returns the array of its
// segments' clear-bit counts, zeroed, for the sieve to add to (with atomic
// additions: workers may share a segment); null when the table will not be
// indexed. The old index is dropped either way.
uint64_t* beginTable(const TableBlock* head);

// The same for `block`, about to be linked after the last block of the chain
// from `head` and sieved: null (and the index dropped) unless the index
// describes that chain now.
uint64_t* beginAppend(const TableBlock* head, const TableBlock* block);

// Ends what beginTable or beginAppend began, after the sieve: `counted` tells
// whether the sieve filled the counts; when it did not, the block's bits are
// counted now. The index then describes the chain again.
void endBlock(const TableBlock* block, bool counted);

// Indexes the chain from `head` by counting its bits (a table loaded from a
// file); the chain is left unindexed when memory is refused.
void build(const TableBlock* head);

// Drops the index (its memory is kept for the next table).
void forget();

// Drops the index and gives its work memory back.
void release();

// Bytes the index holds: its static records or the work memory it mapped.
uint64_t memoryBytes();

// Whether the index describes the chain from `head` as it stands.
bool describes(const TableBlock* head);

// One segment of the indexed table.
struct Segment {
    const uint64_t* words;  // its bitmap words
    uint64_t count;         // how many (kSegmentWords, less at a block's end)
    uint64_t firstWord;     // table-wide index of its first word
    uint64_t before;        // clear bits of the table before it
};

enum class Lookup { kNotIndexed, kFound, kBeyond };

// The segment holding clear bit number m (from 1) of the chain from head:
// kFound with the segment, kBeyond when the chain has fewer than m clear
// bits, kNotIndexed when the index does not describe the chain.
Lookup find(const TableBlock* head, uint64_t m, Segment& segment);

// The chain's clear bits, if the index describes it.
bool total(const TableBlock* head, uint64_t& clearBits);

}  // namespace primeindex
