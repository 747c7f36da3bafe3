// Pieces of work shared out on the table's sieve threads (internal, C++
// only): each worker takes the next piece from a shared counter, so that the
// pieces are all done whatever number of threads the system grants; the
// calling thread (worker 0) consults the progress hook between its pieces.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/worker_threads.h"
#include "primetable/run_control.h"

namespace counting {

template <typename Work>
struct PieceRun {
    Work* work;
    uint64_t count;
    std::atomic<uint64_t> next{0};
    std::atomic<uint64_t> done{0};
    std::atomic<bool> stopped{false};

    static void run(unsigned worker, void* context) {
        PieceRun& r = *static_cast<PieceRun*>(context);
        for (;;) {
            if (r.stopped.load(std::memory_order_relaxed)) return;
            const uint64_t piece = r.next.fetch_add(1);
            if (piece >= r.count) return;
            (*r.work)(piece, worker);
            const uint64_t finished = r.done.fetch_add(1) + 1;
            if (worker == 0 && primetable::progressStops(finished, r.count)) r.stopped.store(true);
        }
    }
};

// Runs work(piece, worker) for every piece < count on up to `threads`
// threads (worker < threads); false when the progress hook stopped it.
template <typename Work>
bool forEachPiece(uint64_t count, unsigned threads, Work work) {
    PieceRun<Work> run;
    run.work = &work;
    run.count = count;
    if (threads > count) threads = count == 0 ? 1 : static_cast<unsigned>(count);
    platform::runOnThreads(threads, &PieceRun<Work>::run, &run);
    return !run.stopped.load();
}

}  // namespace counting
