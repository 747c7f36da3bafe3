/* The record pool: 8,192 static words that hand out preformatted empty number
 * records, either in 32 regions of 256 words (items of one size per region) or
 * as one whole-pool region; the two uses exclude each other. Also the same
 * formatting for any caller's area (a self-described region). No entry hook.
 *
 * An empty record of z words: first word z << 28 (value length 0, sign 0),
 * second word 0x8000000000000000 (the invalid exponent); the rest untouched.
 * An item size of 0 means 32 where a routine says so.
 */
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Region r (0 to 31) with items of z words (3 to 256): formats 256 div z items
 * and returns their count; -1 when the whole pool or region r is in use. r = 99
 * uses the whole pool instead (poolwhole). -1 for any other r or z. */
int64_t poolregion(uint64_t r, uint64_t z);
/* The whole pool with items of z words (2 to 8,192): formats 8,192 div z items
 * and returns their count; -1 while any region or the whole pool is in use. */
int64_t poolwhole(uint64_t z);
/* Item i of region r (0 to 31), or null when the region is free or i is not
 * below its count. */
uint64_t* poolitem(uint64_t r, uint64_t i);
/* Item i of the whole-pool region, or null. */
uint64_t* poolitem32(uint64_t i);
/* Frees region r (0 to 31) and returns 0; 1 when it was free already; -1 for
 * another r. The whole-pool use is never released. */
int64_t poolfree(uint64_t r);
/* The first word of region r (0 to 31), r * 256 words into the pool; null for
 * another r. */
uint64_t* poolbase(uint64_t r);

/* Formats the area of W words as a self-described region of items of z words
 * (0 means 32; at least 2): word 0 gets count << 32 | z with count =
 * (W - 1) div z, and the items follow. Returns the count, or -1 when z is not
 * below W, is below 2 or above 268,435,455 (the largest record length), or
 * the count does not fit in 32 bits. */
int64_t regformat(uint64_t* area, uint64_t w, uint64_t z);
/* Item i of a self-described region (1 + i * z words in), or null when i is
 * not below its count. */
uint64_t* regitem(uint64_t* area, uint64_t i);

#ifdef __cplusplus
}
#endif
