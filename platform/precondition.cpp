#include "platform/precondition.h"

#include <cstdio>
#include <cstdlib>

namespace platform {
void preconditionFailed(const char* condition, const char* file, int line) {
    std::fflush(stdout);
    std::fprintf(stderr, "%s:%d: precondition failed: %s\n", file, line, condition);
    std::abort();
}
}  // namespace platform
