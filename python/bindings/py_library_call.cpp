#include "python/bindings/py_library_call.h"

#include <atomic>
#include <mutex>
#include <thread>

#include "python/bindings/py_errors.h"
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

void refuseReentry() {
    if (lockOwner.load() == std::this_thread::get_id())
        raise(PyExc_RuntimeError,
              "q64 was called while a q64 call runs on the same thread (from a signal handler?); "
              "the library is not reentrant");
}

}  // namespace

LibraryCall::LibraryCall() : nextCheck_(std::chrono::steady_clock::now() + kSignalCheckInterval) {
    refuseReentry();
}

bool LibraryCall::enterAtOnce() {
    refuseReentry();
    if (!libraryLock.try_lock()) return false;
    lockOwner.store(std::this_thread::get_id());
    return true;
}

void LibraryCall::leave() {
    lockOwner.store(std::thread::id());
    libraryLock.unlock();
}

LibraryCall::~LibraryCall() {
    Py_XDECREF(interruptType_);
    Py_XDECREF(interruptValue_);
    Py_XDECREF(interruptTrace_);
}

LibraryCall::Inside::Inside(LibraryCall& call) {
    libraryLock.lock();
    lockOwner.store(std::this_thread::get_id());
    _5_prmprogress(progressHook, &call);
}

LibraryCall::Inside::~Inside() {
    _5_prmprogress(nullptr, nullptr);
    leave();
}

bool LibraryCall::stopRequested() {
    if (stopped()) return true;
    const auto now = std::chrono::steady_clock::now();
    if (now < nextCheck_) return false;
    nextCheck_ = now + kSignalCheckInterval;
    const PyGILState_STATE held = PyGILState_Ensure();
    if (PyErr_CheckSignals() != 0) PyErr_Fetch(&interruptType_, &interruptValue_, &interruptTrace_);
    PyGILState_Release(held);
    return stopped();
}

void LibraryCall::raiseIfStopped() {
    if (!stopped()) return;
    PyErr_Restore(interruptType_, interruptValue_, interruptTrace_);  // takes the references
    interruptType_ = interruptValue_ = interruptTrace_ = nullptr;
    raiseSet();
}

}  // namespace q64py
