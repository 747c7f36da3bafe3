/* Byte and text routines of module _0_ used to read answer lines and numbers.
 *
 * Texts are byte strings ended by a NUL. Bytes compare as unsigned values; a
 * byte k given as a 64-bit argument means its low 8 bits. Bytes of 128 and
 * above (Shift-JIS lead and trail bytes) are ordinary bytes: neither blanks,
 * control bytes nor digits. A control byte is 0..31, a blank is 32, a tab 9.
 */
#pragma once

#include <stdint.h>

#include "numlib/q2value.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Writes k over the first control byte (the ending NUL included) and returns
 * its position: with k = 0 the text is cut there and the result is its length. */
uint64_t _0_schtozr(char* text, uint64_t k);
/* The first byte that is neither a blank nor a tab. */
char* _0_nextch(const char* text);
/* Bytes before the NUL. */
uint64_t _0_strlen(const char* text);
/* 0 when a and b are equal up to and including the NUL, else -1 (no order). */
int64_t _0_strcmp(const char* a, const char* b);
/* Bytes before the first byte equal to k or the NUL, whichever comes first. */
uint64_t _0_strchar(const char* text, uint64_t k);
/* Position of the first byte equal to k among area[0..n-1] (n >= 1), or n. */
uint64_t _0_scanch(const char* area, uint64_t n, uint64_t k);
/* Copies src up to and including the first byte equal to k (k = 0: a plain
 * text copy); returns the bytes copied, k included. A NUL before any k ends
 * the copy too (the NUL is copied and counted). No overlap. */
uint64_t _0_strcpych(char* dst, const char* src, uint64_t k);
/* Sets area[0..n-1] (n >= 1) to k; returns n. */
uint64_t _0_chset(char* area, uint64_t n, uint64_t k);
/* Sets words[0..n-1] (n >= 1) to 0; returns n. */
uint64_t _0_clear(uint64_t* words, uint64_t n);

/* Number of ASCII digits at the start of the text. */
uint64_t _0_dgtlen(const char* text);
/* Value of the first n (>= 1) digits modulo 2^64. The bytes are not checked:
 * the caller has counted them with _0_dgtlen. */
uint64_t _0_strtonum(const char* text, uint64_t n);
/* Value of the first n (>= 1) digits modulo 2^128; bytes not checked. */
Q2Value _0_strtobignum(const char* text, uint64_t n);
/* Converts exactly n digits (n = 0: all the leading digits) into *dst and
 * returns dst; returns null with *dst unchanged when the text does not start
 * with n digits (or with none for n = 0) or their value is 2^128 or more. */
Q2Value* _0_strtobigar(Q2Value* dst, const char* text, uint64_t n);

#ifdef __cplusplus
}
#endif
