#include "platform/worker_threads.h"

#include <pthread.h>

namespace platform {
namespace {

struct ThreadRecord {
    pthread_t thread;
    unsigned worker;
    ThreadWork work;
    void* context;
};

ThreadRecord records[kMaxThreads];
unsigned startLimit = kMaxThreads;

void* threadMain(void* argument) {
    auto* record = static_cast<ThreadRecord*>(argument);
    record->work(record->worker, record->context);
    return nullptr;
}

// Starts work(i, context) on new threads for i = 1 .. count - 1 until one is
// refused; answers how many run, the calling thread's part included.
unsigned startThreads(unsigned count, ThreadWork work, void* context) {
    if (count > kMaxThreads) count = kMaxThreads;
    unsigned started = 1;
    for (unsigned i = 1; i < count; ++i) {
        ThreadRecord& r = records[started];
        r.worker = started;
        r.work = work;
        r.context = context;
        if (started > startLimit || pthread_create(&r.thread, nullptr, threadMain, &r) != 0) break;
        ++started;
    }
    return started;
}

void joinThreads(unsigned started) {
    for (unsigned i = 1; i < started; ++i) pthread_join(records[i].thread, nullptr);
}

// The group of runOnThreadsTogether: its workers wait for the count.
struct Group {
    GroupWork work;
    void* context;
    std::atomic<unsigned> workers{0};
};
Group group;

void groupMain(unsigned worker, void*) {
    unsigned workers;
    while ((workers = group.workers.load(std::memory_order_acquire)) == 0) group.workers.wait(0);
    group.work(worker, workers, group.context);
}

}  // namespace

unsigned runOnThreads(unsigned count, ThreadWork work, void* context) {
    unsigned started = startThreads(count, work, context);
    work(0, context);
    joinThreads(started);
    return started;
}

unsigned runOnThreadsTogether(unsigned count, GroupWork work, void* context) {
    group.work = work;
    group.context = context;
    group.workers.store(0, std::memory_order_relaxed);
    unsigned started = startThreads(count, groupMain, nullptr);
    group.workers.store(started, std::memory_order_release);
    group.workers.notify_all();
    groupMain(0, nullptr);
    joinThreads(started);
    return started;
}

void ThreadBarrier::arriveAndWait(unsigned threads) {
    // The round cannot move on before this thread arrives.
    const unsigned round = round_.load(std::memory_order_acquire);
    if (arrived_.fetch_add(1, std::memory_order_acq_rel) + 1 == threads) {
        arrived_.store(0, std::memory_order_relaxed);
        round_.fetch_add(1, std::memory_order_release);
        round_.notify_all();
        return;
    }
    // The others usually come within microseconds: spin before sleeping.
    for (int spin = 0; spin < 4000; ++spin) {
        if (round_.load(std::memory_order_acquire) != round) return;
#if defined(__x86_64__) || defined(__i386__)
        __builtin_ia32_pause();
#endif
    }
    while (round_.load(std::memory_order_acquire) == round) round_.wait(round, std::memory_order_acquire);
}

void testing::limitThreadStarts(unsigned threads) { startLimit = threads; }

}  // namespace platform
