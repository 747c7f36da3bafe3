// Q64_ASSERT: checks a precondition that a public header states ("must",
// "the caller keeps"), in the Debug and sanitizer builds (Q64_CHECKS) only.
// A broken precondition there stops the process with the condition's text and
// place on standard error; the optimised build compiles the check out, so the
// condition must have no effect the routine relies on.
#pragma once

#ifdef Q64_CHECKS
#define Q64_ASSERT(condition) \
    ((condition) ? (void)0 : ::platform::preconditionFailed(#condition, __FILE__, __LINE__))
#else
#define Q64_ASSERT(condition) ((void)0)
#endif

namespace platform {
[[noreturn]] void preconditionFailed(const char* condition, const char* file, int line);
}  // namespace platform
