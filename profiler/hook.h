// Entry hook of the library routines and the routine index constants.
//
// Every named library routine starts with PRF_ENTER(its own name). While
// profiling is off (prfflag all ones, its value at load) the hook costs one
// comparison; otherwise it hands the routine's index to prfcount. The hook
// touches none of the routine's arguments or results.
#pragma once

#include <cstdint>

#include "q64/profiler.h"

// All ones: profiling off (the value at load). Any other value: every entry
// hook hands its index to prfcount. Internal: callers switch it with prfon
// and prfoff.
extern "C" uint64_t prfflag;

namespace prfidx {
enum : uint32_t {
#define PRF_ROUTINE(name) name,
#include "profiler/routines.def"
#undef PRF_ROUTINE
    kCount
};
// Index of routines that carry the hook but have no name in the list.
inline constexpr uint32_t kUnnamed = 9999;
}  // namespace prfidx

static_assert(prfidx::kCount == 305, "the routine-name list holds 305 names");
static_assert(prfidx::_0_numulnum == 0 && prfidx::_c_cmpmrgh == 304);

#define PRF_HOOK_INDEX(index)                                        \
    do {                                                             \
        if (__builtin_expect(prfflag != ~UINT64_C(0), 0)) prfcount(index); \
    } while (0)

// First statement of every named library routine.
#define PRF_ENTER(name) PRF_HOOK_INDEX(prfidx::name)
// First statement of the library's unnamed routines that carry a hook.
#define PRF_ENTER_UNNAMED() PRF_HOOK_INDEX(prfidx::kUnnamed)
