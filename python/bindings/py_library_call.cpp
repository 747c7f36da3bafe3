#include "python/bindings/py_library_call.h"

#include <atomic>
#include <mutex>
#include <thread>

#include "q64/m5_primetable.h"

namespace q64py {

namespace {

constexpr std::chrono::milliseconds kSignalCheckInterval{20};

std::mutex libraryLock;
// The thread holding libraryLock (written under it), so that a call from a
// signal handler inside a call is refused instead of waiting for itself.
std::atomic<std::thread::id> lockOwner;

int progressHook(uint64_t, uint64_t, void* context) {
    return static_cast<LibraryCall*>(context)->stopRequested() ? 1 : 0;
}

}  // namespace

LibraryCall::LibraryCall() : nextCheck_(std::chrono::steady_clock::now() + kSignalCheckInterval) {
    if (lockOwner.load() == std::this_thread::get_id()) {
        PyErr_SetString(PyExc_RuntimeError,
                        "q64 was called while a q64 call runs on the same thread (from a signal handler?); "
                        "the library is not reentrant");
        throw py::error_already_set();
    }
}

LibraryCall::Inside::Inside(LibraryCall& call) {
    libraryLock.lock();
    lockOwner.store(std::this_thread::get_id());
    _5_prmprogress(progressHook, &call);
}

LibraryCall::Inside::~Inside() {
    _5_prmprogress(nullptr, nullptr);
    lockOwner.store(std::thread::id());
    libraryLock.unlock();
}

bool LibraryCall::stopRequested() {
    if (stopped()) return true;
    const auto now = std::chrono::steady_clock::now();
    if (now < nextCheck_) return false;
    nextCheck_ = now + kSignalCheckInterval;
    py::gil_scoped_acquire held;
    if (PyErr_CheckSignals() != 0) interrupt_.emplace();
    return stopped();
}

void LibraryCall::raiseIfStopped() {
    if (interrupt_) throw *interrupt_;
}

}  // namespace q64py
