// The progress hook of the long runs, as the runs themselves consult it.
#pragma once

#include <cstdint>

namespace primetable {

// Reports progress to the hook set by _5_prmprogress; true when the run
// must stop (the hook answered nonzero). Without a hook, false. Call it on
// the calling thread only.
bool progressStops(uint64_t done, uint64_t total);

// Whether a hook is set (a run may then cut its work into more pieces).
bool progressHooked();

}  // namespace primetable
