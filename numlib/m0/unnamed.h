/* Routines of module _0_ that have no name in the profiler's list. The first
 * four carry the entry hook with the index of unnamed routines (9999, which
 * the profiler ignores); the slot register, the status word, the argument
 * record and pow2 have no hook. All of them keep static state or none; none
 * is reentrant.
 */
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Sets a[0..n-1] to v; returns n. */
uint64_t fillwords(uint64_t* a, uint64_t v, uint64_t n);
/* Writes v in exactly w digits with leading zeros (no NUL); returns 0, or 1
 * when v has more than w digits (only its last w digits are written). */
int64_t decfixed(char* buffer, uint64_t v, uint64_t w);
/* Replaces the first byte b (low 8 bits) of the NUL-ended text by v in w
 * digits with leading zeros; the rest of the text, NUL included, moves up by
 * w - 1. Returns the text's length before the change, or -1 (nothing changed)
 * when b is 0, w is 0 or b is not in the text. The caller keeps room for the
 * longer text. */
int64_t dectemplate(char* text, uint64_t b, uint64_t v, uint64_t w);
/* Returns -1. */
int64_t failresult(void);

/* A register of four slots, each free (all ones) at load and set only once. */
/* Stores v in slot i when i < 4 and the slot is free and returns v; else 0. */
uint64_t slotset(uint64_t i, uint64_t v);
/* The value of slot i, or 0 when it is free or i > 3. */
uint64_t slotget(uint64_t i);

/* The status word, 0x8000000000000000 (no status) at load. */
/* Stores v; returns v. */
uint64_t statset(uint64_t v);
/* The status word, or -10 while no status has been set. */
int64_t statget(void);

/* The argument record: a count word followed by 16 value words, 0 at load.
 * argrecK stores K and its K arguments in words 1 to K (the other value words
 * keep their values) and returns the record's address. */
uint64_t* argrec1(uint64_t v1);
uint64_t* argrec2(uint64_t v1, uint64_t v2);
uint64_t* argrec3(uint64_t v1, uint64_t v2, uint64_t v3);
uint64_t* argrec4(uint64_t v1, uint64_t v2, uint64_t v3, uint64_t v4);
uint64_t* argrec5(uint64_t v1, uint64_t v2, uint64_t v3, uint64_t v4, uint64_t v5);
uint64_t* argrec6(uint64_t v1, uint64_t v2, uint64_t v3, uint64_t v4, uint64_t v5, uint64_t v6);
uint64_t* argrec7(uint64_t v1, uint64_t v2, uint64_t v3, uint64_t v4, uint64_t v5, uint64_t v6,
                  uint64_t v7);
uint64_t* argrec8(uint64_t v1, uint64_t v2, uint64_t v3, uint64_t v4, uint64_t v5, uint64_t v6,
                  uint64_t v7, uint64_t v8);
uint64_t* argrec9(uint64_t v1, uint64_t v2, uint64_t v3, uint64_t v4, uint64_t v5, uint64_t v6,
                  uint64_t v7, uint64_t v8, uint64_t v9);
uint64_t* argrec10(uint64_t v1, uint64_t v2, uint64_t v3, uint64_t v4, uint64_t v5, uint64_t v6,
                   uint64_t v7, uint64_t v8, uint64_t v9, uint64_t v10);
uint64_t* argrec11(uint64_t v1, uint64_t v2, uint64_t v3, uint64_t v4, uint64_t v5, uint64_t v6,
                   uint64_t v7, uint64_t v8, uint64_t v9, uint64_t v10, uint64_t v11);
uint64_t* argrec12(uint64_t v1, uint64_t v2, uint64_t v3, uint64_t v4, uint64_t v5, uint64_t v6,
                   uint64_t v7, uint64_t v8, uint64_t v9, uint64_t v10, uint64_t v11,
                   uint64_t v12);
uint64_t* argrec13(uint64_t v1, uint64_t v2, uint64_t v3, uint64_t v4, uint64_t v5, uint64_t v6,
                   uint64_t v7, uint64_t v8, uint64_t v9, uint64_t v10, uint64_t v11,
                   uint64_t v12, uint64_t v13);
uint64_t* argrec14(uint64_t v1, uint64_t v2, uint64_t v3, uint64_t v4, uint64_t v5, uint64_t v6,
                   uint64_t v7, uint64_t v8, uint64_t v9, uint64_t v10, uint64_t v11,
                   uint64_t v12, uint64_t v13, uint64_t v14);
uint64_t* argrec15(uint64_t v1, uint64_t v2, uint64_t v3, uint64_t v4, uint64_t v5, uint64_t v6,
                   uint64_t v7, uint64_t v8, uint64_t v9, uint64_t v10, uint64_t v11,
                   uint64_t v12, uint64_t v13, uint64_t v14, uint64_t v15);
uint64_t* argrec16(uint64_t v1, uint64_t v2, uint64_t v3, uint64_t v4, uint64_t v5, uint64_t v6,
                   uint64_t v7, uint64_t v8, uint64_t v9, uint64_t v10, uint64_t v11,
                   uint64_t v12, uint64_t v13, uint64_t v14, uint64_t v15, uint64_t v16);

/* 2^(n mod 64). */
uint64_t pow2(uint64_t n);

#ifdef __cplusplus
}
#endif
