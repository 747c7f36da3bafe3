#include "primetable/interval/interval_runs.h"

#include <time.h>

#include <cstring>

#include "platform/memory.h"
#include "platform/work_memory.h"
#include "platform/worker_threads.h"
#include "primetable/interval/interval_tuning.h"
#include "primetable/interval/prime_bounds.h"
#include "primetable/interval/segment_bits.h"
#include "primetable/interval/segment_sieve.h"
#include "primetable/interval/short_interval.h"
#include "primetable/run_control.h"
#include "primetable/sieve_presieve.h"
#include "primetable/sieve_threads.h"

namespace interval {
namespace {

uint64_t chunkNumbersLimit = 0;
bool primesAlwaysShared = false;
unsigned threadsOfLast = 1;

struct Chunks {
    uint64_t a = 0;
    uint64_t b = 0;
    uint64_t width = 0;
    uint64_t count = 0;

    uint64_t lo(uint64_t i) const { return a + i * width; }
    uint64_t hi(uint64_t i) const { return b - lo(i) < width - 1 ? b : lo(i) + width - 1; }
};

// The least numbers a chunk spans: restarting the sieving primes must cost
// little beside it.
uint64_t chunkWidth(uint64_t b) {
    uint64_t width = tuning::kChunkRootFactor * squareRootFloor(b);
    return width < tuning::kMinChunkNumbers ? tuning::kMinChunkNumbers : width;
}

// One chunk per thread at least when the interval is worth sharing out, more
// (for a balance on a busy machine) when restarting the sieving primes costs
// little beside a chunk.
Chunks chunksOf(uint64_t a, uint64_t b, unsigned threads, bool listing) {
    const uint64_t span = b - a;
    uint64_t width = chunkWidth(b);
    if (listing && width > tuning::kMaxListChunkNumbers) width = tuning::kMaxListChunkNumbers;
    uint64_t count = span / width + 1;
    if (threads == 1 && !listing) count = 1;
    const uint64_t most = threads * tuning::kChunksPerThread;
    if (count > most && !listing) count = most;
    const uint64_t shared = span / (uint64_t{1} << 20) + 1;  // chunks of a million numbers at least
    if (count < threads) count = threads < shared ? threads : shared;
    if (chunkNumbersLimit != 0 && span / chunkNumbersLimit + 1 > count) count = span / chunkNumbersLimit + 1;
    Chunks c;
    c.a = a;
    c.b = b;
    c.width = span / count + 1;
    c.count = span / c.width + 1;
    return c;
}

// The primes 2, 3, 5 and 7 have no bit; the sieve covers every other number.
constexpr uint64_t kWheelPrimes[4] = {2, 3, 5, 7};

struct Run {
    Chunks chunks;
    uint64_t segmentBytes = 0;
    uint8_t* memory = nullptr;
    uint64_t memoryBytes = 0;
    uint64_t sieveBytes = 0;   // each worker's part: the sieve, then the generator
    uint64_t workerBytes = 0;
    uint64_t nextChunk = 0;    // taken with an atomic increment
    uint64_t done = 0;         // bitmap bytes sieved, added atomically
    uint64_t chunksDone = 0;   // chunks sieved (or given up), added atomically
    uint64_t total = 0;
    bool stop = false;
    uint64_t counts[platform::kMaxThreads];
    // Listing on several threads: a slot per thread for one chunk's bitmap.
    uint8_t* slots = nullptr;
    uint64_t slotBytes = 0;
    uint64_t roundFirst = 0;
    uint64_t roundEnd = 0;
};

Run run;

// Tables the threads read, made before any thread starts.
void prepareTables() {
    BasePrimes::prepare();
    sieve::preparePatterns();
}

// Sets the run's counters for [a, b] on up to `threads` threads.
void startRun(uint64_t a, uint64_t b, unsigned threads) {
    run.nextChunk = 0;
    run.done = 0;
    run.chunksDone = 0;
    run.total = spanBytes(spanOf(a, b));
    run.stop = false;
    for (unsigned i = 0; i < threads; ++i) run.counts[i] = 0;
    // A hook may stop the run before it starts.
    if (primetable::progressStops(0, run.total)) run.stop = true;
}

// Maps the run's memory for up to `threads` threads, fewer when the machine
// cannot back that many (the bucket lists near 2^64 take 1.6 GB a thread);
// false when it cannot back one.
bool prepare(uint64_t a, uint64_t b, unsigned& threads, bool listing) {
    prepareTables();
    run.chunks = chunksOf(a, b, threads, listing);
    run.segmentBytes = segmentBytes();
    run.sieveBytes = SegmentSieve::memoryFor(run.segmentBytes, b);
    run.workerBytes = run.sieveBytes + PrimeGenerator::memoryFor(squareRootFloor(b));
    run.slotBytes = 0;
    if (listing && threads > 1) run.slotBytes = (spanBytes(spanOf(0, run.chunks.width)) + 64 + 63) & ~uint64_t{63};
    const uint64_t fit = platform::committableBytes() / (run.workerBytes + run.slotBytes);
    if (fit == 0) return false;
    if (threads > fit) threads = static_cast<unsigned>(fit);
    run.memoryBytes = threads * (run.workerBytes + run.slotBytes);
    run.memory = static_cast<uint8_t*>(platform::mapWorkMemory(run.memoryBytes));
    if (run.memory == nullptr) return false;
    run.slots = run.memory + threads * run.workerBytes;
    startRun(a, b, threads);
    return true;
}

void release() { platform::unmapWorkMemory(run.memory, run.memoryBytes); }

// Adds a segment to the bytes done; the calling thread (worker 0) asks the
// progress hook. True when the run must stop.
bool progressed(unsigned worker, uint64_t bytes) {
    uint64_t done = __atomic_add_fetch(&run.done, bytes, __ATOMIC_RELAXED);
    if (worker == 0 && primetable::progressStops(done < run.total ? done : run.total, run.total))
        __atomic_store_n(&run.stop, true, __ATOMIC_RELAXED);
    return __atomic_load_n(&run.stop, __ATOMIC_RELAXED);
}

// Sieves [lo, hi] in the worker's memory, handing each segment to `use`;
// false when the run stopped.
template <typename Use>
bool sieveChunk(unsigned worker, uint64_t lo, uint64_t hi, Use use) {
    uint8_t* memory = run.memory + worker * run.workerBytes;
    PrimeGenerator generator;
    generator.start(memory + run.sieveBytes, squareRootFloor(hi));
    SegmentSieve sieve;
    sieve.start(memory, run.segmentBytes, lo, hi, generator);
    while (sieve.next()) {
        use(sieve);
        if (progressed(worker, sieve.length())) return false;
    }
    return true;
}

// The segment's bits of the span: [from, to) counted from the segment's start.
struct SegmentBits {
    uint64_t from;
    uint64_t to;
};
SegmentBits bitsOf(const SegmentSieve& sieve) {
    const Span& s = sieve.span();
    const uint64_t first = 8 * sieve.firstByte();
    const uint64_t end = first + 8 * sieve.length();
    return {s.firstBit > first ? s.firstBit - first : 0, (s.endBit < end ? s.endBit : end) - first};
}

// Counting on several threads shares out the sieving primes rather than the
// interval when the interval makes fewer chunks than threads: a chunk starts
// every sieving prime afresh, which near 10^18 costs as much as sieving
// billions of numbers. Each thread starts and crosses off one share of the
// primes over every segment; the threads count the union of their segments,
// each a slice of it, and meet twice a segment.
bool sharesPrimes(uint64_t a, uint64_t b, unsigned threads) {
    if (threads < 2) return false;
    if (primesAlwaysShared) return true;
    return chunkNumbersLimit == 0 && (b - a) / chunkWidth(b) + 1 < threads;
}

struct SharedRun {
    uint64_t a = 0;
    uint64_t b = 0;
    platform::ThreadBarrier barrier;
    uint8_t* segments[platform::kMaxThreads];
};

SharedRun shared;

// A worker's memory when `workers` share the primes: it shrinks as they grow.
uint64_t sharedSieveBytes(unsigned workers) { return SegmentSieve::memoryFor(run.segmentBytes, shared.b, workers); }
uint64_t sharedWorkerBytes(unsigned workers) {
    return sharedSieveBytes(workers) + PrimeGenerator::memoryFor(squareRootFloor(shared.b));
}

// The memory of up to `threads` workers, however many of them start.
uint64_t sharedBytes(unsigned threads) {
    uint64_t most = 0;
    for (unsigned k = 1; k <= threads; ++k) {
        const uint64_t bytes = k * sharedWorkerBytes(k);
        if (bytes > most) most = bytes;
    }
    return most;
}

// As prepare, for threads that share the primes; fewer threads when the
// machine cannot back that many, false when not even two.
bool prepareShared(uint64_t a, uint64_t b, unsigned& threads) {
    prepareTables();
    shared.a = a;
    shared.b = b;
    run.segmentBytes = segmentBytes();
    const uint64_t room = platform::committableBytes();
    while (threads > 1 && sharedBytes(threads) > room) --threads;
    if (threads < 2) return false;
    run.memoryBytes = sharedBytes(threads);
    run.memory = static_cast<uint8_t*>(platform::mapWorkMemory(run.memoryBytes));
    if (run.memory == nullptr) return false;
    startRun(a, b, threads);
    return true;
}

// The clear bits of the union of the workers' segments in this worker's
// slice of words, the union gathered in worker 0's segment.
uint64_t countSlice(const SegmentSieve& sieve, unsigned worker, unsigned workers) {
    const uint64_t words = (sieve.length() + 7) / 8;
    const uint64_t first = words * worker / workers;
    const uint64_t end = words * (worker + 1) / workers;
    uint8_t* into = shared.segments[0];
    for (unsigned w = 1; w < workers; ++w) {
        const uint8_t* from = shared.segments[w];
        for (uint64_t k = first; k < end; ++k) {
            uint64_t x, y;
            std::memcpy(&x, into + 8 * k, 8);
            std::memcpy(&y, from + 8 * k, 8);
            x |= y;
            std::memcpy(into + 8 * k, &x, 8);
        }
    }
    const SegmentBits bits = bitsOf(sieve);
    const uint64_t lo = bits.from > 64 * first ? bits.from : 64 * first;
    const uint64_t hi = bits.to < 64 * end ? bits.to : 64 * end;
    return lo < hi ? countClear(into, lo, hi) : 0;
}

void countSharedPrimes(unsigned worker, unsigned workers, void*) {
    uint8_t* memory = run.memory + worker * sharedWorkerBytes(workers);
    const uint64_t sieveBytes = sharedSieveBytes(workers);
    PrimeGenerator generator;
    generator.start(memory + sieveBytes, squareRootFloor(shared.b), worker, workers);
    SegmentSieve sieve;
    sieve.start(memory, run.segmentBytes, shared.a, shared.b, generator, workers, worker == 0);
    uint64_t count = 0;
    for (;;) {
        // Every worker has the same segments, so all leave together.
        const bool more = sieve.next();
        shared.segments[worker] = sieve.segment();
        shared.barrier.arriveAndWait(workers);
        if (!more) break;
        count += countSlice(sieve, worker, workers);
        if (worker == 0) progressed(0, sieve.length());
        // Worker 0 alone sets stop, before this meeting; the others read it after.
        shared.barrier.arriveAndWait(workers);
        if (__atomic_load_n(&run.stop, __ATOMIC_RELAXED)) break;
    }
    run.counts[worker] = count;
}

// The calling thread, out of chunks, keeps reporting progress until the other
// threads have sieved the chunks up to `end`.
void reportUntilDone(unsigned worker, uint64_t end) {
    if (worker != 0) return;
    while (__atomic_load_n(&run.chunksDone, __ATOMIC_ACQUIRE) < end && !__atomic_load_n(&run.stop, __ATOMIC_RELAXED)) {
        struct timespec pause = {0, 2000000};
        nanosleep(&pause, nullptr);
        progressed(0, 0);
    }
}

void countChunks(unsigned worker, void*) {
    uint64_t count = 0;
    while (!__atomic_load_n(&run.stop, __ATOMIC_RELAXED)) {
        uint64_t i = __atomic_fetch_add(&run.nextChunk, 1, __ATOMIC_RELAXED);
        if (i >= run.chunks.count) break;
        sieveChunk(worker, run.chunks.lo(i), run.chunks.hi(i), [&](const SegmentSieve& sieve) {
            SegmentBits bits = bitsOf(sieve);
            count += countClear(sieve.segment(), bits.from, bits.to);
        });
        __atomic_add_fetch(&run.chunksDone, 1, __ATOMIC_RELEASE);
    }
    run.counts[worker] = count;
    reportUntilDone(worker, run.chunks.count);
}

// Batches of primes on their way to the sink.
struct Delivery {
    static constexpr uint64_t kBatch = 4096;
    Q64PrimeSink sink;
    void* context;
    uint64_t count = 0;
    bool stopped = false;
    uint64_t batch[kBatch];

    void put(uint64_t prime) {
        batch[count++] = prime;
        if (count == kBatch) flush();
    }
    void flush() {
        if (count != 0 && !stopped && sink(batch, count, context) != 0) stopped = true;
        count = 0;
    }
};

Delivery delivery;

void deliverBits(const Span& span, const uint8_t* bytes, uint64_t firstBit, uint64_t from, uint64_t to) {
    forClearNumbers(bytes, span, firstBit, from, to, [&](uint64_t n) { delivery.put(n); });
}

// A round of listing: the threads sieve chunks roundFirst .. roundEnd - 1
// into their slots (slot i for chunk roundFirst + i).
void sieveIntoSlots(unsigned worker, void*) {
    while (!__atomic_load_n(&run.stop, __ATOMIC_RELAXED)) {
        uint64_t i = __atomic_fetch_add(&run.nextChunk, 1, __ATOMIC_RELAXED);
        if (i >= run.roundEnd) break;
        uint8_t* slot = run.slots + (i - run.roundFirst) * run.slotBytes;
        sieveChunk(worker, run.chunks.lo(i), run.chunks.hi(i), [&](const SegmentSieve& sieve) {
            std::memcpy(slot + sieve.firstByte(), sieve.segment(), (sieve.length() + 7) & ~uint64_t{7});
        });
        __atomic_add_fetch(&run.chunksDone, 1, __ATOMIC_RELEASE);
    }
    reportUntilDone(worker, run.roundEnd - run.roundFirst);
}

// Delivers the primes of chunk i from its slot, a segment's worth of bits at
// a time so that a stop by the sink ends it soon.
void deliverSlot(uint64_t i) {
    const Span span = spanOf(run.chunks.lo(i), run.chunks.hi(i));
    const uint8_t* slot = run.slots + (i - run.roundFirst) * run.slotBytes;
    const uint64_t piece = 8 * run.segmentBytes;
    for (uint64_t from = span.firstBit; from < span.endBit && !delivery.stopped; from += piece - from % piece) {
        uint64_t to = from - from % piece + piece;
        deliverBits(span, slot, 0, from, to < span.endBit ? to : span.endBit);
    }
}

bool listOnThreads(unsigned threads) {
    for (uint64_t first = 0; first < run.chunks.count && !delivery.stopped; first += threads) {
        run.roundFirst = first;
        run.roundEnd = run.chunks.count - first < threads ? run.chunks.count : first + threads;
        run.nextChunk = first;
        run.chunksDone = 0;
        unsigned ran = platform::runOnThreads(static_cast<unsigned>(run.roundEnd - first), sieveIntoSlots, nullptr);
        if (ran > threadsOfLast) threadsOfLast = ran;
        if (run.stop) return false;
        for (uint64_t i = first; i < run.roundEnd && !delivery.stopped; ++i) deliverSlot(i);
    }
    return true;
}

bool listOnCallingThread() {
    return sieveChunk(0, run.chunks.a, run.chunks.b, [&](const SegmentSieve& sieve) {
        if (delivery.stopped) {
            __atomic_store_n(&run.stop, true, __ATOMIC_RELAXED);
            return;
        }
        SegmentBits bits = bitsOf(sieve);
        deliverBits(sieve.span(), sieve.segment(), 8 * sieve.firstByte(), bits.from, bits.to);
    });
}

unsigned threadsFor(const Chunks& c) {
    unsigned threads = primetable::sieveThreads();
    return c.count < threads ? static_cast<unsigned>(c.count) : threads;
}

}  // namespace

uint64_t countPrimes(uint64_t a, uint64_t b) {
    if (a > b) return kFailed;
    if (testsBeatSieving(a, b)) return countByTests(a, b);
    unsigned threads = primetable::sieveThreads();
    if (sharesPrimes(a, b, threads) && prepareShared(a, b, threads)) {
        threadsOfLast = run.stop ? 1 : platform::runOnThreadsTogether(threads, countSharedPrimes, nullptr);
    } else {
        threads = threadsFor(chunksOf(a, b, threads, false));
        if (!prepare(a, b, threads, false)) return kFailed;
        threadsOfLast = run.stop ? 1 : platform::runOnThreads(threads, countChunks, nullptr);
    }
    const bool stopped = run.stop;
    release();
    if (stopped) return kFailed;
    uint64_t count = 0;
    for (uint64_t p : kWheelPrimes) count += a <= p && p <= b;
    for (unsigned i = 0; i < threadsOfLast; ++i) count += run.counts[i];
    return count;
}

int64_t eachPrime(uint64_t a, uint64_t b, Q64PrimeSink sink, void* context) {
    if (a > b) return -1;
    if (testsBeatSieving(a, b)) return eachByTests(a, b, sink, context);
    unsigned threads = threadsFor(chunksOf(a, b, primetable::sieveThreads(), true));
    if (!prepare(a, b, threads, true)) return -1;
    delivery.sink = sink;
    delivery.context = context;
    delivery.count = 0;
    delivery.stopped = false;
    for (uint64_t p : kWheelPrimes)
        if (a <= p && p <= b && !run.stop) delivery.put(p);
    threadsOfLast = 1;
    const bool whole = !run.stop && (threads > 1 ? listOnThreads(threads) : listOnCallingThread());
    delivery.flush();
    release();
    return whole && !delivery.stopped && !run.stop ? 0 : 1;
}

namespace testing {
void setChunkNumbers(uint64_t numbers) { chunkNumbersLimit = numbers; }
void sharePrimesAlways(bool on) { primesAlwaysShared = on; }
unsigned threadsOfLastRun() { return threadsOfLast; }
}  // namespace testing

}  // namespace interval

extern "C" uint64_t _5_prmcount(uint64_t a, uint64_t b) { return interval::countPrimes(a, b); }

extern "C" int64_t _5_prmeach(uint64_t a, uint64_t b, Q64PrimeSink sink, void* context) {
    return interval::eachPrime(a, b, sink, context);
}
