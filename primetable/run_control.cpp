// The controls of the long runs: the thread cap and the progress hook.
#include "primetable/run_control.h"

#include "primetable/sieve_threads.h"
#include "q64/m5_primetable.h"

namespace primetable {
namespace {

Q64Progress hook = nullptr;
void* hookContext = nullptr;

}  // namespace

bool progressStops(uint64_t done, uint64_t total) { return hook != nullptr && hook(done, total, hookContext) != 0; }

bool progressHooked() { return hook != nullptr; }

}  // namespace primetable

extern "C" int64_t _5_prmprogress(Q64Progress newHook, void* context) {
    primetable::hook = newHook;
    primetable::hookContext = context;
    return 0;
}

extern "C" uint64_t _5_prmthreads(uint64_t cap) {
    primetable::setSieveThreadCap(cap > UINT32_MAX ? UINT32_MAX : static_cast<unsigned>(cap));
    return primetable::sieveThreads();
}
