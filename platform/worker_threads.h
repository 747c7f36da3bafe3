// Running one piece of work on several threads at once (POSIX threads, with
// static records: no heap).
#pragma once

#include <pthread.h>

#include <atomic>

namespace platform {

// The most threads one call of runOnThreads runs.
inline constexpr unsigned kMaxThreads = 256;

using ThreadWork = void (*)(unsigned worker, void* context);

// Runs work(0, context) on the calling thread and work(i, context) for i = 1
// .. count - 1 on new threads, and returns when all have returned. A thread
// the system refuses is not run: the result is how many ran (the calling
// thread's included; at least 1), and workers 0 .. result - 1 are the ones
// that ran. Work that must be done whole is therefore shared out by the
// workers themselves (for example from a shared counter), not by index.
// count is capped at kMaxThreads. Not reentrant.
unsigned runOnThreads(unsigned count, ThreadWork work, void* context);

using GroupWork = void (*)(unsigned worker, unsigned workers, void* context);

// As runOnThreads, but every worker starts its work once all threads are
// created, and learns how many take part (`workers`, the result), so that
// the workers may share work out by index and meet at a ThreadBarrier.
unsigned runOnThreadsTogether(unsigned count, GroupWork work, void* context);

// A meeting point for a group of threads, used again and again: each waits
// until all `threads` (the same number from each) have arrived. Spins a
// little, then sleeps. No heap.
class ThreadBarrier {
public:
    void arriveAndWait(unsigned threads);

private:
    std::atomic<unsigned> arrived_{0};
    std::atomic<unsigned> round_{0};
    pthread_mutex_t lock_ = PTHREAD_MUTEX_INITIALIZER;
    pthread_cond_t roundOver_ = PTHREAD_COND_INITIALIZER;
};

namespace testing {
// Lets later calls start at most `threads` new threads each, as a system
// short of threads would (kMaxThreads or more: no limit).
void limitThreadStarts(unsigned threads);
}  // namespace testing

}  // namespace platform
