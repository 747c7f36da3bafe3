// The scratch stacks (module _2_): short-lived work memory from one static
// area, never from the heap.
//
// The area holds two stacks. The working stack hands out blocks strictly last
// in, first out; every block of n words is followed by a trailer word holding
// n, so a release is one read and one subtraction. The constant stack hands out
// blocks for the rest of the process, each preceded (below it) by a header word
// holding n, and grows downward. Block contents are never cleared.
#pragma once

#include "q64/base.h"

#ifdef __cplusplus
extern "C" {
#endif

// Takes n words from the working stack; null (nothing changed) unless
// used + 2 + n is below the capacity. A block of 0 words is a valid block.
Q64_API uint64_t* _2_alocs(uint64_t n);
// Gives back the newest working block; returns the blocks still allocated,
// or -1 when the stack is empty.
Q64_API int64_t _2_frees(void);
// _2_frees, then returns x unchanged (for failure paths: return _2_freertn(-1)).
Q64_API int64_t _2_freertn(int64_t x);
// Size in words of the newest working block (only while one is allocated).
Q64_API uint64_t _2_sizes(void);
// Address of the newest working block, or null when none is allocated.
Q64_API uint64_t* _2_addrs(void);
// Free words of the working stack, the trailer word included: capacity - (used + 2).
Q64_API int64_t _2_left(void);
// Empties the working stack with the capacity k (low 32 bits, at most 32,768);
// returns the address of its bounds word.
Q64_API uint64_t* _2_inistk(uint64_t k);
// Takes n words from the constant stack for good; null when they do not fit.
Q64_API uint64_t* _2_caloc(uint64_t n);

#ifdef __cplusplus
}
#endif
