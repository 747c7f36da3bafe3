#include "q64/m0_utilities.h"

#include "profiler/hook.h"

extern "C" uint64_t _0_cntdup(const uint64_t* words, uint64_t left) {
    PRF_ENTER(_0_cntdup);
    if (left == 0) return 0;
    uint64_t run = 1;
    while (run < left && words[run] == words[0]) ++run;
    return run;
}
