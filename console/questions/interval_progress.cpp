#include "console/questions/interval_progress.h"

#include <time.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>

#include "q64/m5_primetable.h"

namespace oneshot {
namespace {

struct Shown {
    double start = 0;
    int percent = -1;  // the one on screen; -1 none yet
};
Shown shown;

double seconds() {
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

int show(uint64_t done, uint64_t total, void*) {
    if (total == 0) return 0;
    if (shown.percent < 0 && seconds() - shown.start < 1.0) return 0;
    int percent = static_cast<int>(100.0 * static_cast<double>(done) / static_cast<double>(total));
    if (percent != shown.percent) {
        shown.percent = percent;
        std::fprintf(stderr, "\r%3d%%", percent);
        std::fflush(stderr);
    }
    return 0;
}

}  // namespace

IntervalProgress::IntervalProgress() {
    if (!isatty(STDERR_FILENO)) return;
    shown = Shown{seconds(), -1};
    _5_prmprogress(show, nullptr);
}

IntervalProgress::~IntervalProgress() {
    _5_prmprogress(nullptr, nullptr);
    if (shown.percent >= 0) std::fprintf(stderr, "\r    \r");
    shown.percent = -1;
}

}  // namespace oneshot
