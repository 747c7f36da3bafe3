/* Runs of equal words (module _0_). */
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* The number of words from words[0] on that equal words[0], at most `left`
 * (0 when left is 0; words is then not read). */
uint64_t _0_cntdup(const uint64_t* words, uint64_t left);

#ifdef __cplusplus
}
#endif
