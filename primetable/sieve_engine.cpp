#include "primetable/sieve_engine.h"

#include <algorithm>
#include <cstring>
#if defined(__x86_64__)
#include <emmintrin.h>
#endif

#include "platform/precondition.h"
#include "platform/work_memory.h"
#include "platform/worker_threads.h"
#include "primetable/clear_bits.h"
#include "primetable/prime_index.h"
#include "primetable/sieve_cross.h"
#include "primetable/sieve_presieve.h"
#include "primetable/sieve_start.h"
#include "primetable/sieve_threads.h"
#include "primetable/sieve_tuning.h"
#include "primetable/small_primes.h"
#include "primetable/table_words.h"
#include "primetable/wheel.h"

namespace sieve {
namespace {

using tuning::kChunkBytes;
using tuning::kChunkPrimeBound;
using tuning::kSegmentBytes;

// Room for the sieving primes of every table this machine can hold: a pass
// takes at most the primes below the square root of its limit.
constexpr uint64_t kMaxPrimes = uint64_t{1} << 18;

// The segment and, behind it, room for the bits that whole turns of the
// wheel set past its end (primes whose turn is at most a segment); they are
// carried into the next segment. Held as words, so that the index may count
// its clear bits as words.
alignas(64) uint64_t segmentWords[2 * kSegmentBytes / 8];
uint8_t* const segment = reinterpret_cast<uint8_t*>(segmentWords);

// The sizes in use: kSegmentBytes and kChunkBytes, or smaller ones set by tests.
uint64_t segmentBytes = kSegmentBytes;
uint64_t chunkBytes = kChunkBytes;

// The calling thread's sieving primes, and room for reordering them.
SievingPrime primes[kMaxPrimes];
SievingPrime primesSorted[kMaxPrimes];

inline uint64_t streamWord(const uint8_t* p) {
    uint64_t w;
    std::memcpy(&w, p, 8);
    return __builtin_bswap64(w);
}

// Stores n words of the stream in seg as bitmap words at `to`. The stores
// bypass the caches where the processor can: the bitmap is not read again
// while the table is sieved, and the segment and its primes keep the cache.
// Ends with a store fence, so that the words are in memory in the usual
// order for whatever runs after (another thread included).
void storeWords(uint64_t* to, const uint8_t* seg, uint64_t n) {
#if defined(__x86_64__)
    for (uint64_t k = 0; k < n; ++k)
        _mm_stream_si64(reinterpret_cast<long long*>(to + k), static_cast<long long>(streamWord(seg + 8 * k)));
    _mm_sfence();
#else
    for (uint64_t k = 0; k < n; ++k) to[k] = streamWord(seg + 8 * k);
#endif
}

inline void orStreamWord(uint8_t* p, uint64_t w) {
    uint64_t v;
    std::memcpy(&v, p, 8);
    v |= __builtin_bswap64(w);
    std::memcpy(p, &v, 8);
}

// First clear bit in [from, to) of bitmap words (most significant bit first),
// or `to`. Load(k) gives word k.
template <typename Load>
uint64_t firstClear(Load load, uint64_t from, uint64_t to) {
    if (from >= to) return to;
    uint64_t k = from / 64;
    uint64_t rest = ~load(k) & (~UINT64_C(0) >> (from % 64));
    uint64_t lastWord = (to - 1) / 64;
    while (rest == 0) {
        if (++k > lastWord) return to;
        rest = ~load(k);
    }
    uint64_t bit = 64 * k + static_cast<uint64_t>(__builtin_clzll(rest));
    return bit < to ? bit : to;
}

inline uint64_t ceilDiv(uint64_t a, uint64_t b) { return a / b + (a % b != 0); }

uint64_t squareRootFloor(uint64_t n) {
    uint64_t r = 0;
    for (uint64_t bit = uint64_t{1} << 31; bit != 0; bit >>= 1) {
        uint64_t t = r | bit;
        if (t * t <= n) r = t;
    }
    return r;
}

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

// The sieving primes of a pass, ascending, once the pass has taken them all:
// what every thread of a threaded pass starts from.
uint64_t sievingNumbers[kMaxPrimes];

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
    static bool fits(const TableBlock* target) {
        uint64_t root = squareRootFloor(target[table::kLimit]);
        uint64_t farthestByte = 8 * table::bitmapWords(target) + 6 * (root + wheel::kModulus);
        return (root / wheel::kModulus + 1) * wheel::kSpokes + wheel::kSmallPrimeCount <= kMaxPrimes &&
               root <= kMaxSievingPrime && farthestByte <= kMaxNextByte;
    }

    // The pass over the whole target, on the calling thread, with the table
    // primes taken as their bits become final. With `stopEarly`, stops at the
    // first segment boundary after every sieving prime has been taken, when
    // two or more segments remain, and answers where (the segments from there
    // on are still to be sieved); otherwise answers the target's end.
    uint64_t runTakingPrimes(bool stopEarly) {
        pass_.tookPrime = false;
        pass_.scan = 0;
        if (pass_.smallPrimes) addSmallPrimes();
        scanning_ = pass_.source != PrimeSource::kNone;
        const uint64_t segmentWords = segmentBytes / 8;
        prepareSegment();
        for (uint64_t w0 = first_; w0 < end_; w0 += segmentWords) {
            if (stopEarly && !scanning_ && end_ - w0 > segmentWords) return w0;
            sieveSegment(w0, true);
        }
        return end_;
    }

    // The pass over the range from the primes a pass has taken (ascending in
    // numbers[0 .. count - 1]), each started at its first multiple in the
    // range: the bits the whole pass gives there.
    void runFromNumbers(const uint64_t* numbers, uint64_t count) {
        prepareSegment();
        segStart_ = 8 * first_;
        for (uint64_t i = 0; i < count; ++i) {
            // Numbers below 211 are the small primes; the table's start at 211.
            bool tablePrime = numbers[i] >= wheel::kFirstNumber;
            startPrime(numbers[i], tablePrime && pass_.fromSquare);
        }
        groupByResidue();
        for (uint64_t w0 = first_; w0 < end_; w0 += segmentBytes / 8) sieveSegment(w0, false);
    }

    // The numbers of the sieving primes in the list, ascending, into `out`;
    // answers how many.
    uint64_t sievingPrimeNumbers(uint64_t* out) const {
        for (uint64_t i = 0; i < count_; ++i)
            out[i] = wheel::kModulus * (primes_[i].q6 / 6) + WheelResidues[primes_[i].ri];
        std::sort(out, out + count_);
        return count_;
    }

private:
    // Clears what the range's segments will read: bits set past the last
    // segment are never stored, so a range of one segment needs only that
    // segment clear.
    void prepareSegment() {
        const uint64_t segmentWords = segmentBytes / 8;
        const uint64_t words = end_ - first_;
        std::memset(segment_, 0, words > segmentWords ? 2 * segmentBytes : 8 * words);
    }

    // Sieves the segment from word w0, stores it, and counts its clear bits
    // for the index when the pass asks.
    void sieveSegment(uint64_t w0, bool takePrimes) {
        const uint64_t segmentWords = segmentBytes / 8;
        uint64_t n = end_ - w0 < segmentWords ? end_ - w0 : segmentWords;
        segFirstWord_ = w0;
        segStart_ = 8 * w0;
        segBytes_ = 8 * n;
        // The segment holds the bits carried from the one before.
        if (!pass_.freshTarget)
            for (uint64_t k = 0; k < n; ++k) orStreamWord(segment_ + 8 * k, bitmap_[w0 + k]);
        // The patterns and the primes with many multiples per segment
        // cross off a chunk that stays in the first-level cache at a time,
        // the other primes the whole segment.
        for (uint64_t c = 0; c < segBytes_; c += chunkBytes) {
            uint64_t end = segBytes_ - c < chunkBytes ? segBytes_ : c + chunkBytes;
            if (patterns_) applyPatterns(segment_ + c, 8 * base_ + segStart_ + c, end - c, limit_);
            for (uint64_t i = 0; i < chunkPrimes_; ++i)
                kTurnKernels[primes_[i].ri](segment_, end, primes_[i]);
        }
        for (uint64_t i = chunkPrimes_; i < turnPrimes_; ++i)
            kTurnKernels[primes_[i].ri](segment_, segBytes_, primes_[i]);
        crossOffLargePrimes();
        if (takePrimes && scanning_) takeTablePrimes();
        groupByResidue();
        // Every prime now lies past the segment; its next byte is counted
        // from the next segment's start.
        for (uint64_t i = 0; i < count_; ++i) primes_[i].next -= static_cast<uint32_t>(segBytes_);
        // Store and clear the segment; carry what lies past it to its start.
        if (pass_.clearCounts != nullptr) countClearBits(w0, n);
        storeWords(bitmap_ + w0, segment_, n);
        std::memset(segment_, 0, segBytes_);
        std::memmove(segment_, segment_ + segBytes_, spill_);
        std::memset(segment_ + segBytes_, 0, spill_);
    }

    // The primes whose turn exceeds the segment mark a few multiples each,
    // entering the unrolled turn at each prime's own wheel index: taken in
    // the order of that index, the entry jumps repeat and are predicted.
    // Afterwards the primes are put in the order of their new indices, for
    // the next segment.
    void crossOffLargePrimes() {
        uint64_t n = count_ - turnPrimes_;
        SievingPrime* large = primes_ + turnPrimes_;
        uint64_t start[wheel::kSpokes + 1] = {};
        for (uint64_t i = 0; i < n; ++i) {
            crossOff(segment_, segBytes_, large[i]);
            ++start[large[i].j + 1];
        }
        if (n < 2) return;
        for (uint64_t j = 1; j <= wheel::kSpokes; ++j) start[j] += start[j - 1];
        for (uint64_t i = 0; i < n; ++i) sortRoom_[start[large[i].j]++] = large[i];
        std::memcpy(large, sortRoom_, n * sizeof(SievingPrime));
    }

    // Adds the clear bits of the segment, words [w0, w0 + n) of the target,
    // to the counts of the index segments they lie in (the order of a word's
    // bytes does not change how many of its bits are clear); segments shared
    // with another thread's range are added to atomically.
    void countClearBits(uint64_t w0, uint64_t n) {
        const auto* words = reinterpret_cast<const uint64_t*>(segment_);
        for (uint64_t w = w0; w < w0 + n;) {
            uint64_t indexSegment = w / primeindex::kSegmentWords;
            uint64_t stop = (indexSegment + 1) * primeindex::kSegmentWords;
            if (stop > w0 + n) stop = w0 + n;
            __atomic_fetch_add(&pass_.clearCounts[indexSegment], table::clearBits(words + (w - w0), stop - w),
                               __ATOMIC_RELAXED);
            w = stop;
        }
    }

    // The small primes 11 .. 199 that the patterns leave, while p^2 < limit.
    void addSmallPrimes() {
        forSmallPrimes([&](uint64_t p) {
            if (p * p >= limit_) return false;
            if (!(patterns_ && patternCovers(p, limit_))) startPrime(p, false);
            return true;
        });
    }

    // Starts crossing off q at its first multiple as the one-prime-at-a-time
    // pass would (or at q^2), within the range, and crosses it off in the
    // segment being sieved.
    //
    // That multiple never lies before the segment: a prime is started either
    // before the first segment of the range (at or after the range's start,
    // by the clamp below), or when it is read from the target's segment
    // being sieved, whose multiples all lie above it; primes of other blocks
    // are all read while the first segment is sieved.
    void startPrime(uint64_t q, bool fromSquare) {
        uint64_t c = q < pass_.lowest ? ceilDiv(pass_.lowest, q) : 2;
        if (fromSquare && c < q) c = q;
        uint64_t inRange = ceilDiv(lowestInRange_, q);
        if (c < inRange) c = inRange;
        uint64_t m = firstCofactor(c);
        uint64_t n;
        if (__builtin_mul_overflow(q, m, &n) || n >= limit_) return;
        uint64_t byte = multipleByte(q, m, 64 * base_);
        Q64_ASSERT(byte >= segStart_);
        if (byte >= 8 * end_) return;
        SievingPrime sp = startAt(q, m, byte - segStart_);
        bool turns = turnBytes(sp) <= segmentBytes;
        if (turns) {
            if (turnBytes(sp) > spill_) spill_ = turnBytes(sp);
            crossOffTurns(segment_, segBytes_, sp);
        } else {
            crossOff(segment_, segBytes_, sp);
        }
        if (segStart_ + sp.next >= 8 * end_ || count_ == capacity_) return;
        primes_[count_++] = sp;
        // Primes come in ascending order, so each kind is one run of the
        // list; a run ends at the first prime that does not belong to it.
        if (chunkPrimes_ == count_ - 1 && turns && q < kChunkPrimeBound) chunkPrimes_ = count_;
        if (turnPrimes_ == count_ - 1 && turns) turnPrimes_ = count_;
    }

    // Orders the primes that cross off by whole turns by residue (each run
    // on its own) whenever primes were added, so that each residue's kernel
    // runs for all its primes in a row. The order in which the primes cross
    // off a segment does not change its bits, and every prime has crossed it
    // off before its clear bits are read.
    void groupByResidue() {
        if (turnPrimes_ == sortedTurnPrimes_) return;
        auto byResidue = [](const SievingPrime& a, const SievingPrime& b) { return a.ri < b.ri; };
        std::sort(primes_, primes_ + chunkPrimes_, byResidue);
        std::sort(primes_ + chunkPrimes_, primes_ + turnPrimes_, byResidue);
        sortedTurnPrimes_ = turnPrimes_;
    }

    enum class Found { kPrime, kWait, kNone };

    // The next clear bit of the source. Bits of the target before the
    // segment are final in memory, those of the segment in the buffer, and
    // those after it are not read yet.
    Found nextClearBit() {
        while (cursor_.block != nullptr) {
            const TableBlock* block = cursor_.block;
            uint64_t bits = 64 * table::bitmapWords(block);
            if (block == target_) {
                uint64_t segFirstBit = 64 * segFirstWord_;
                uint64_t segEndBit = segFirstBit + 8 * segBytes_;
                if (cursor_.bit < segFirstBit) {
                    uint64_t r = firstClear([&](uint64_t k) { return bitmap_[k]; }, cursor_.bit, segFirstBit);
                    cursor_.bit = r;
                    if (r < segFirstBit) return Found::kPrime;
                }
                uint64_t end = bits < segEndBit ? bits : segEndBit;
                if (cursor_.bit < end) {
                    uint64_t r = firstClear([&](uint64_t k) { return streamWord(segment_ + 8 * k); },
                                            cursor_.bit - segFirstBit, end - segFirstBit);
                    cursor_.bit = segFirstBit + r;
                    if (cursor_.bit < end) return Found::kPrime;
                }
                if (end < bits) return Found::kWait;
            } else {
                const TableBlock* words = block + table::kFirstBitmapWord;
                cursor_.bit = firstClear([&](uint64_t k) { return words[k]; }, cursor_.bit, bits);
                if (cursor_.bit < bits) return Found::kPrime;
            }
            cursor_.block = pass_.source == PrimeSource::kChain ? table::nextBlock(block) : nullptr;
            cursor_.bit = 0;
        }
        return Found::kNone;
    }

    // Takes the table's primes in ascending order as far as they can be read
    // in this segment, and crosses each off from its first multiple.
    void takeTablePrimes() {
        for (;;) {
            Found found = nextClearBit();
            if (found == Found::kWait) return;
            if (found == Found::kNone) break;
            uint64_t position = cursor_.bit;
            if (pass_.source == PrimeSource::kChain) position += 64 * cursor_.block[table::kBaseWord];
            ++cursor_.bit;
            uint64_t q = wheel::numberAt(position);
            pass_.tookPrime = true;
            pass_.prime = q;
            pass_.scan = position + 1;
            uint64_t square;
            if (__builtin_mul_overflow(q, q, &square) || square >= limit_) break;
            startPrime(q, pass_.fromSquare);
        }
        scanning_ = false;
    }

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

bool enabled = true;

// A threaded pass: the range still to sieve, cut into runs of whole segments
// that the threads take in turn, and each thread's buffers.
struct ThreadedPass {
    Pass* pass;
    uint64_t first;      // first word still to sieve
    uint64_t runWords;   // words per run (a multiple of the segment)
    uint64_t runs;
    uint64_t nextRun;    // taken with an atomic increment
    const uint64_t* numbers;
    uint64_t count;
    Buffers buffers[platform::kMaxThreads];
};

ThreadedPass threaded;
unsigned threadsOfLastPass = 1;

void sieveRuns(unsigned worker, void* context) {
    auto* t = static_cast<ThreadedPass*>(context);
    const uint64_t words = table::bitmapWords(t->pass->target);
    for (;;) {
        uint64_t run = __atomic_fetch_add(&t->nextRun, 1, __ATOMIC_RELAXED);
        if (run >= t->runs) return;
        uint64_t first = t->first + run * t->runWords;
        uint64_t end = words - first < t->runWords ? words : first + t->runWords;
        Sieve(*t->pass, t->buffers[worker], first, end).runFromNumbers(t->numbers, t->count);
    }
}

// Buffers of the threads beyond the calling one, kept from pass to pass and
// grown when a pass needs more.
void* workerMemory = nullptr;
uint64_t workerMemoryBytes = 0;

// Buffers for `threads` - 1 further threads with room for `count` primes
// each; answers how many threads have buffers (the calling thread's are the
// static ones), fewer when memory is refused.
unsigned prepareWorkerBuffers(unsigned threads, uint64_t count) {
    const uint64_t segmentRoom = 2 * kSegmentBytes;
    const uint64_t primeRoom = (count * sizeof(SievingPrime) + 63) & ~uint64_t{63};
    const uint64_t each = segmentRoom + 2 * primeRoom;
    uint64_t want = (threads - 1) * each;
    if (want > workerMemoryBytes) {
        void* p = platform::mapWorkMemory(want);
        if (p == nullptr) return 1;
        platform::unmapWorkMemory(workerMemory, workerMemoryBytes);
        workerMemory = p;
        workerMemoryBytes = want;
    }
    auto* bytes = static_cast<uint8_t*>(workerMemory);
    for (unsigned i = 1; i < threads; ++i) {
        uint8_t* own = bytes + (i - 1) * each;
        auto* primeLists = reinterpret_cast<SievingPrime*>(own + segmentRoom);
        threaded.buffers[i] = Buffers{own, primeLists, primeLists + count, count};
    }
    return threads;
}

// Sieves words [first, end) of the pass's target on up to `threads` threads
// from the sieving primes in numbers[0 .. count - 1].
void sieveOnThreads(Pass& pass, uint64_t first, uint64_t count, unsigned threads) {
    const uint64_t segmentWords = segmentBytes / 8;
    const uint64_t words = table::bitmapWords(pass.target);
    const uint64_t segments = (words - first + segmentWords - 1) / segmentWords;
    uint64_t runs = threads * tuning::kRunsPerThread;
    if (runs > segments) runs = segments;
    const uint64_t segmentsPerRun = (segments + runs - 1) / runs;
    if (threads > runs) threads = static_cast<unsigned>(runs);
    threads = prepareWorkerBuffers(threads, count);
    threaded.pass = &pass;
    threaded.first = first;
    threaded.runWords = segmentsPerRun * segmentWords;
    threaded.runs = (segments + segmentsPerRun - 1) / segmentsPerRun;
    threaded.nextRun = 0;
    threaded.numbers = sievingNumbers;
    threaded.count = count;
    threaded.buffers[0] = Buffers{segment, primes, primesSorted, kMaxPrimes};
    // The patterns are made before any thread reads them.
    if (pass.smallPrimes) preparePatterns();
    threadsOfLastPass = platform::runOnThreads(threads, sieveRuns, &threaded);
}

}  // namespace

// The calling thread sieves the target's segments in order until it has
// taken every sieving prime (the table primes are read from the bitmap as
// their bits become final, so this part cannot be shared out), usually in
// the first segment. The segments after that are cut into runs that all
// threads sieve at once, each run from every sieving prime started afresh at
// its first multiple in the run: crossing off sets bits, so the bits of a
// word are the same whichever thread sets them in whatever order, and each
// run sets exactly the multiples that the single sweep sets there. Workers
// run only the internal kernels; the named routines, and with them the
// profiler's counts, stay on the calling thread.
bool run(Pass& pass) {
    if (!enabled || !Sieve::fits(pass.target)) return false;
    const unsigned threads = primetable::sieveThreads();
    Sieve sieve(pass, Buffers{segment, primes, primesSorted, kMaxPrimes}, 0, table::bitmapWords(pass.target));
    uint64_t stop = sieve.runTakingPrimes(threads > 1);
    threadsOfLastPass = 1;
    if (stop < table::bitmapWords(pass.target)) {
        uint64_t count = sieve.sievingPrimeNumbers(sievingNumbers);
        sieveOnThreads(pass, stop, count, threads);
    }
    return true;
}

namespace testing {
void enableSegmentedSieve(bool on) { enabled = on; }

unsigned threadsOfLastRun() { return threadsOfLastPass; }

bool takesTarget(const TableBlock* target) { return Sieve::fits(target); }

void setSegmentWords(uint64_t segmentWords, uint64_t chunkWords) {
    segmentBytes = segmentWords == 0 || segmentWords > kSegmentBytes / 8 ? kSegmentBytes : 8 * segmentWords;
    chunkBytes = chunkWords == 0 || chunkWords > segmentBytes / 8 ? kChunkBytes : 8 * chunkWords;
    if (chunkBytes > segmentBytes) chunkBytes = segmentBytes;
}
}  // namespace testing

}  // namespace sieve
