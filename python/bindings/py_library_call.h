// Calls into the library from Python: one call at a time (the library keeps
// its work in static records and is not reentrant), without the GIL, with
// Ctrl-C watched between the pieces of a long run.
#pragma once

#include <Python.h>

#include <chrono>
#include <optional>

namespace q64py {

// One call into the library, made with the GIL held.
class LibraryCall {
public:
    // Raises RuntimeError when this thread is inside a call already: a Python
    // signal handler that runs during a call (see stopRequested) and calls the
    // package again.
    LibraryCall();
    ~LibraryCall();
    LibraryCall(const LibraryCall&) = delete;
    LibraryCall& operator=(const LibraryCall&) = delete;

    // Runs `call` with the GIL released and the library's lock held, the
    // progress hook asking stopRequested between the pieces of a long run;
    // then raises what a signal handler raised meanwhile (KeyboardInterrupt
    // for Ctrl-C), else returns the call's result. `call` must not throw.
    template <class F>
    auto run(F&& call) -> decltype(call()) {
        std::optional<decltype(call())> result;
        {
            Released released;
            Inside inside(*this);
            result = call();
        }
        raiseIfStopped();
        return *result;
    }

    // For a call known to take microseconds (no progress to report, no
    // signal to wait for): runs it with the GIL kept when the library's lock
    // is free at once, which saves the GIL's hand-over (a third of a short
    // call's time); else as run does. Keeping the GIL while waiting for the
    // lock could deadlock with a long call that takes the GIL to check for
    // signals, hence the try.
    template <class F>
    static auto runShort(F&& call) -> decltype(call()) {
        if (enterAtOnce()) {
            const auto result = call();
            leave();
            return result;
        }
        LibraryCall waiting;
        return waiting.run(call);
    }

    // Inside run, without the GIL: whether the call must stop. At most every
    // 20 ms it takes the GIL and runs Python's pending signal handlers; true
    // from when one raised (the exception is kept for run to raise).
    bool stopRequested();
    bool stopped() const { return interruptType_ != nullptr; }

private:
    // The GIL released for its lifetime.
    class Released {
    public:
        Released() : state_(PyEval_SaveThread()) {}
        ~Released() { PyEval_RestoreThread(state_); }
        Released(const Released&) = delete;
        Released& operator=(const Released&) = delete;

    private:
        PyThreadState* state_;
    };
    // The library's lock and this call's progress hook, for its lifetime.
    class Inside {
    public:
        explicit Inside(LibraryCall& call);
        ~Inside();
        Inside(const Inside&) = delete;
        Inside& operator=(const Inside&) = delete;
    };

    void raiseIfStopped();
    // The library's lock for runShort: true when taken without waiting;
    // raises RuntimeError from a signal handler inside a call.
    static bool enterAtOnce();
    static void leave();

    // The exception a signal handler raised during the call.
    PyObject* interruptType_ = nullptr;
    PyObject* interruptValue_ = nullptr;
    PyObject* interruptTrace_ = nullptr;
    std::chrono::steady_clock::time_point nextCheck_;
};

}  // namespace q64py
