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

#include <cstdint>

namespace platform {
[[noreturn]] void preconditionFailed(const char* condition, const char* file, int line);

// True when the n words at p and the m words at q share none (the addresses
// are compared as numbers, so arrays of different objects qualify).
inline bool disjointWords(const uint64_t* p, uint64_t n, const uint64_t* q, uint64_t m) {
    const auto a = reinterpret_cast<uintptr_t>(p);
    const auto b = reinterpret_cast<uintptr_t>(q);
    return a + 8 * n <= b || b + 8 * m <= a;
}
}  // namespace platform
