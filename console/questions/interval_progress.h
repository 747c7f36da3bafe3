// The percentage a long count or list shows on standard error when it is a
// terminal: after the first second, overwritten in place, cleared at the end.
#pragma once

namespace oneshot {

class IntervalProgress {
public:
    // Sets the library's progress hook (nothing when standard error is not a terminal).
    IntervalProgress();
    // Clears the line and the hook.
    ~IntervalProgress();
    IntervalProgress(const IntervalProgress&) = delete;
    IntervalProgress& operator=(const IntervalProgress&) = delete;
};

}  // namespace oneshot
