#include "primetable/sieve_threaded_pass.h"

#include "platform/work_memory.h"
#include "platform/worker_threads.h"
#include "primetable/sieve_presieve.h"
#include "primetable/sieve_tuning.h"
#include "primetable/table_words.h"

namespace sieve {
namespace {

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
    const uint64_t segmentRoom = 2 * tuning::kSegmentBytes;
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

}  // namespace

unsigned sieveOnThreads(Pass& pass, uint64_t first, const uint64_t* numbers, uint64_t count, unsigned threads,
                        Buffers own) {
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
    threaded.numbers = numbers;
    threaded.count = count;
    threaded.buffers[0] = own;
    // The patterns are made before any thread reads them.
    if (pass.smallPrimes) preparePatterns();
    return platform::runOnThreads(threads, sieveRuns, &threaded);
}

}  // namespace sieve
