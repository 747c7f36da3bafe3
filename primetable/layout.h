/* Bit addressing of the prime table (module _5_).
 *
 * Position p (counted over the whole table from 0) stands for the number
 * (p div 48 + 1) * 210 + WheelResidues[p mod 48]; position 0 is 211. It lies
 * in bitmap word p div 64 of the table, counted across blocks, at the bit of
 * value 2^(63 - p mod 64).
 */
#pragma once

#include <stdint.h>

#include "numlib/q2value.h"
#include "primetable/table.h"

#ifdef __cplusplus
extern "C" {
#endif

/* The number of a position (high word 0). */
Q2Value _5_postonum(uint64_t position);
/* The position of a number, or -1 when it shares a factor with 210 or is
 * below 211 (those have no bit). */
int64_t _5_numbpos(uint64_t number);
/* The bit of a table-wide position, walking the chain from `block`: 0 clear
 * (prime), 1 set (composite), -1 at or beyond the end of the chain. */
int64_t _5_bitval(uint64_t position, const TableBlock* block);
/* Sets the bit of a table-wide position in `block`, which must hold it (no
 * chain walk, no bounds check). */
void _5_biton(uint64_t position, TableBlock* block);
/* The number of position 64 * w: the limit of a table whose bitmap ends after
 * w words. _5_prmtbcap(0) = 211. */
uint64_t _5_prmtbcap(uint64_t words);
/* The smallest number the block covers: 211 when its baseWord is 0, else
 * _5_prmtbcap(baseWord). */
uint64_t _5_prmtmin(const TableBlock* block);

#ifdef __cplusplus
}
#endif
