// The segment driver of the table sieve: crosses off words [first, end) of
// a pass's target one segment at a time, with the patterns of the small
// primes, the turn kernels for the primes with many multiples per segment
// (those below kChunkPrimeBound over first-level-cache chunks) and the
// bound-checked kernel, in index order, for the rest (sieve_cross.h), and
// takes the table's primes as their bits become final. Internal to the
// engine and its threaded pass.
#pragma once

#include <cstdint>

#include "primetable/sieve_cross.h"
#include "primetable/sieve_engine.h"
#include "primetable/table_words.h"

namespace sieve {

// Room for the sieving primes of every table this machine can hold: a pass
// takes at most the primes below the square root of its limit.
inline constexpr uint64_t kMaxPrimes = uint64_t{1} << 18;

// The sizes in use: tuning::kSegmentBytes and kChunkBytes, or smaller ones
// set by tests.
extern uint64_t segmentBytes;
extern uint64_t chunkBytes;

struct Cursor {
    TableBlock* block;  // null when the source is exhausted
    uint64_t bit;       // next bit of block's bitmap to look at
};

// Where one thread sieves: its segment buffer (with the room behind it) and
// its list of sieving primes.
struct Buffers {
    uint8_t* segment;
    SievingPrime* primes;
    SievingPrime* sortRoom;  // as many entries as primes, for reordering them
    uint64_t capacity;       // entries of primes
};

class Sieve {
public:
    // Sieves bitmap words [first, end) of the pass's target.
    Sieve(Pass& pass, Buffers buffers, uint64_t first, uint64_t end)
        : pass_(pass),
          target_(pass.target),
          bitmap_(pass.target + table::kFirstBitmapWord),
          words_(table::bitmapWords(pass.target)),
          base_(pass.target[table::kBaseWord]),
          limit_(pass.target[table::kLimit]),
          lowestInTarget_(wheel::numberAt(64 * pass.target[table::kBaseWord])),
          first_(first),
          end_(end),
          lowestInRange_(wheel::numberAt(64 * (pass.target[table::kBaseWord] + first))),
          segment_(buffers.segment),
          primes_(buffers.primes),
          sortRoom_(buffers.sortRoom),
          capacity_(buffers.capacity),
          cursor_{pass.head, 0},
          patterns_(pass.smallPrimes && pass.lowest == lowestInTarget_) {}

    // Whether a pass over `target` fits the static lists, and its primes
    // their entries (a prime's next byte lies at most a turn past the end of
    // the target).
    static bool fits(const TableBlock* target);

    // The pass over the whole target, on the calling thread, with the table
    // primes taken as their bits become final. With `stopEarly`, stops at the
    // first segment boundary after every sieving prime has been taken, when
    // two or more segments remain, and answers where (the segments from there
    // on are still to be sieved); otherwise answers the target's end.
    uint64_t runTakingPrimes(bool stopEarly);

    // The pass over the range from the primes a pass has taken (ascending in
    // numbers[0 .. count - 1]), each started at its first multiple in the
    // range: the bits the whole pass gives there.
    void runFromNumbers(const uint64_t* numbers, uint64_t count);

    // The numbers of the sieving primes in the list, ascending, into `out`;
    // answers how many.
    uint64_t sievingPrimeNumbers(uint64_t* out) const;

private:
    // Clears what the range's segments will read: bits set past the last
    // segment are never stored, so a range of one segment needs only that
    // segment clear.
    void prepareSegment();

    // Sieves the segment from word w0, stores it, and counts its clear bits
    // for the index when the pass asks.
    void sieveSegment(uint64_t w0, bool takePrimes);

    // The primes whose turn exceeds the segment mark a few multiples each,
    // entering the unrolled turn at each prime's own wheel index: taken in
    // the order of that index, the entry jumps repeat and are predicted.
    // Afterwards the primes are put in the order of their new indices, for
    // the next segment.
    void crossOffLargePrimes();

    // Adds the clear bits of the segment, words [w0, w0 + n) of the target,
    // to the counts of the index segments they lie in (the order of a word's
    // bytes does not change how many of its bits are clear); segments shared
    // with another thread's range are added to atomically.
    void countClearBits(uint64_t w0, uint64_t n);

    // The small primes 11 .. 199 that the patterns leave, while p^2 < limit.
    void addSmallPrimes();

    // Starts crossing off q at its first multiple as the one-prime-at-a-time
    // pass would (or at q^2), within the range, and crosses it off in the
    // segment being sieved.
    //
    // That multiple never lies before the segment: a prime is started either
    // before the first segment of the range (at or after the range's start,
    // by the clamp below), or when it is read from the target's segment
    // being sieved, whose multiples all lie above it; primes of other blocks
    // are all read while the first segment is sieved.
    void startPrime(uint64_t q, bool fromSquare);

    // Orders the primes that cross off by whole turns by residue (each run
    // on its own) whenever primes were added, so that each residue's kernel
    // runs for all its primes in a row. The order in which the primes cross
    // off a segment does not change its bits, and every prime has crossed it
    // off before its clear bits are read.
    void groupByResidue();

    enum class Found { kPrime, kWait, kNone };

    // The next clear bit of the source. Bits of the target before the
    // segment are final in memory, those of the segment in the buffer, and
    // those after it are not read yet.
    Found nextClearBit();

    // Takes the table's primes in ascending order as far as they can be read
    // in this segment, and crosses each off from its first multiple.
    void takeTablePrimes();

    Pass& pass_;
    TableBlock* target_;
    uint64_t* bitmap_;
    uint64_t words_;
    uint64_t base_;
    uint64_t limit_;
    uint64_t lowestInTarget_;
    uint64_t first_;
    uint64_t end_;
    uint64_t lowestInRange_;
    uint8_t* segment_;
    SievingPrime* primes_;
    SievingPrime* sortRoom_;
    uint64_t capacity_;
    Cursor cursor_;
    bool patterns_;
    bool scanning_ = false;
    uint64_t count_ = 0;
    uint64_t chunkPrimes_ = 0;  // primes[0 .. chunkPrimes_ - 1] cross off chunk by chunk,
    uint64_t turnPrimes_ = 0;   // up to turnPrimes_ - 1 by whole turns, the rest one by one
    uint64_t sortedTurnPrimes_ = 0;
    uint64_t spill_ = 0;        // how far whole turns may set bits past a segment
    uint64_t segFirstWord_ = 0;
    uint64_t segStart_ = 0;
    uint64_t segBytes_ = 0;
};

}  // namespace sieve
