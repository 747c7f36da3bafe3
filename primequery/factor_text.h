/* The text of a factorisation, such as 2^3 * 3^2 * 5 for 360. */
#pragma once

#include <stdint.h>

#include "primequery/factor_list.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Writes the text of the list into buf (256 bytes hold the text of any
 * 128-bit number) and returns buf. A list of one prime (s plus the cofactor
 * count is 1) gives only the marker "!" and a NUL. */
char* _5_prmfctput(char* buf, const FactorList* list);
/* Writes the factors joined by " * ", each with "^" and its multiplicity when
 * that exceeds 1, the cofactor (if any) last, and a NUL. An empty list gives
 * the empty text. Returns 0. */
int64_t _5_prmfctpp(char* buf, const FactorList* list);
/* Writes run[0] in decimal and, when len > 1, "^" and len; returns the
 * position after the text (no NUL is written). */
char* _5_cvtfctn(const uint64_t* run, uint64_t len, char* out);

#ifdef __cplusplus
}
#endif
