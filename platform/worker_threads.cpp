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
    unsigned workers;
    pthread_mutex_t lock = PTHREAD_MUTEX_INITIALIZER;
    pthread_cond_t counted = PTHREAD_COND_INITIALIZER;
};
Group group;

void groupMain(unsigned worker, void*) {
    pthread_mutex_lock(&group.lock);
    while (group.workers == 0) pthread_cond_wait(&group.counted, &group.lock);
    const unsigned workers = group.workers;
    pthread_mutex_unlock(&group.lock);
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
    group.workers = 0;
    unsigned started = startThreads(count, groupMain, nullptr);
    pthread_mutex_lock(&group.lock);
    group.workers = started;
    pthread_cond_broadcast(&group.counted);
    pthread_mutex_unlock(&group.lock);
    groupMain(0, nullptr);
    joinThreads(started);
    return started;
}

void ThreadBarrier::arriveAndWait(unsigned threads) {
    // The round cannot move on before this thread arrives.
    const unsigned round = round_.load(std::memory_order_acquire);
    if (arrived_.fetch_add(1, std::memory_order_acq_rel) + 1 == threads) {
        arrived_.store(0, std::memory_order_relaxed);
        pthread_mutex_lock(&lock_);
        round_.fetch_add(1, std::memory_order_release);
        pthread_cond_broadcast(&roundOver_);
        pthread_mutex_unlock(&lock_);
        return;
    }
    // The others usually come within microseconds: spin before sleeping.
    for (int spin = 0; spin < 4000; ++spin) {
        if (round_.load(std::memory_order_acquire) != round) return;
#if defined(__x86_64__) || defined(__i386__)
        __builtin_ia32_pause();
#endif
    }
    pthread_mutex_lock(&lock_);
    while (round_.load(std::memory_order_acquire) == round) pthread_cond_wait(&roundOver_, &lock_);
    pthread_mutex_unlock(&lock_);
}

void testing::limitThreadStarts(unsigned threads) { startLimit = threads; }

}  // namespace platform
