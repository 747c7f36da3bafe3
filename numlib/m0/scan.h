/* Byte scans of module _0_. A byte given as a 64-bit argument is its low 8
 * bits; bytes compare as unsigned values. Positions count from 0.
 */
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Position of the first b; the text must contain b. */
uint64_t _0_scanmch(const char* text, uint64_t b);
/* 0 when all n bytes are the digits "0" to "9" (n = 0 too), else -1. */
int64_t _0_chnum(const char* area, uint64_t n);
/* Scans at most n bytes: the position of t when it comes before any
 * non-digit, -1 when a byte that is neither t nor a digit comes first, n when
 * the n bytes are all digits. */
int64_t _0_scanchnum(const char* area, uint64_t n, uint64_t t);
/* Position of the first byte that matches b after case folding (every byte
 * below 97, b too, is raised by 32 first, so "A" to "Z" match "a" to "z"), or n. */
uint64_t _0_scanatoz(const char* area, uint64_t n, uint64_t b);
/* The same from the end: position of the last match, or -1. */
int64_t _0_scanratoz(const char* area, uint64_t n, uint64_t b);
/* Length of the run of bytes equal to the first one: at least 1, and 0 for an
 * empty text (the first byte a NUL). */
uint64_t _0_cntchr(const char* text);

#ifdef __cplusplus
}
#endif
