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

}  // namespace

unsigned runOnThreads(unsigned count, ThreadWork work, void* context) {
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
    work(0, context);
    for (unsigned i = 1; i < started; ++i) pthread_join(records[i].thread, nullptr);
    return started;
}

void testing::limitThreadStarts(unsigned threads) { startLimit = threads; }

}  // namespace platform
