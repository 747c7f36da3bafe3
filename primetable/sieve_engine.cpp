#include "primetable/sieve_engine.h"

#include "primetable/sieve_segments.h"
#include "primetable/sieve_threaded_pass.h"
#include "primetable/sieve_threads.h"
#include "primetable/sieve_tuning.h"
#include "primetable/table_words.h"

namespace sieve {
namespace {

// The segment and, behind it, room for the bits that whole turns of the
// wheel set past its end (primes whose turn is at most a segment); they are
// carried into the next segment. Held as words, so that the index may count
// its clear bits as words.
alignas(64) uint64_t segmentWords[2 * tuning::kSegmentBytes / 8];
uint8_t* const segment = reinterpret_cast<uint8_t*>(segmentWords);

// The calling thread's sieving primes, and room for reordering them.
SievingPrime primes[kMaxPrimes];
SievingPrime primesSorted[kMaxPrimes];

// The sieving primes of a pass, ascending, once the pass has taken them all:
// what every thread of a threaded pass starts from.
uint64_t sievingNumbers[kMaxPrimes];

bool enabled = true;
unsigned threadsOfLastPass = 1;

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
        threadsOfLastPass =
            sieveOnThreads(pass, stop, sievingNumbers, count, threads, Buffers{segment, primes, primesSorted, kMaxPrimes});
    }
    return true;
}

namespace testing {
void enableSegmentedSieve(bool on) { enabled = on; }

unsigned threadsOfLastRun() { return threadsOfLastPass; }

bool takesTarget(const TableBlock* target) { return Sieve::fits(target); }

void setSegmentWords(uint64_t segmentWords, uint64_t chunkWords) {
    segmentBytes = segmentWords == 0 || segmentWords > tuning::kSegmentBytes / 8 ? tuning::kSegmentBytes : 8 * segmentWords;
    chunkBytes = chunkWords == 0 || chunkWords > segmentBytes / 8 ? tuning::kChunkBytes : 8 * chunkWords;
    if (chunkBytes > segmentBytes) chunkBytes = segmentBytes;
}
}  // namespace testing

}  // namespace sieve
