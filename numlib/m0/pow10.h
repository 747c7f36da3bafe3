/* The powers of ten that fit a 64-bit word, shared by the whole library. */
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* pow10tab[i] = 10^i for i = 0..19 (10^19 is the largest power below 2^64). */
extern const uint64_t pow10tab[20];
/* 10^i for i = 0..19; all ones for a larger i. */
uint64_t pow10val(uint64_t i);
/* Address of pow10tab[i]; the caller keeps i within 0..19. */
const uint64_t* pow10ptr(uint64_t i);

#ifdef __cplusplus
}
#endif
