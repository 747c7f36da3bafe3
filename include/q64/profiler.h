/* The call-count profiler: one counter word per library routine and a ring of
 * the most recent routine indices, fed by the entry hook that starts every
 * named library routine.
 *
 * Profiling is off at load; while it is off nothing is counted. Set-up and
 * selection may be done at any time; counting happens only between prfon and
 * prfoff. A routine's index is its position in the list of routine names
 * (prfname). Not reentrant: the counters, the ring and the flag are plain
 * words.
 */
#pragma once

#include "q64/base.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Counts one entry of the routine with this index: nothing for an index of
 * 1024 or more (the 9999 of unnamed routines) or one whose counter word has bit
 * 63 set; otherwise adds 1 to its counter and writes the index to the ring. */
Q64_API void prfcount(uint64_t index);

/* Stores N (the names in the list), marks counters 0..N-1 not counted with
 * count 0, makes the ring 2^n entries of 0 with position 0. n from 5 to 18;
 * returns 0, or -1 with nothing changed. Does not touch the flag. */
Q64_API int64_t prfsetup(uint64_t n);
/* prfsetup(n), falling back to prfsetup(7); then prfenmods(letters) and
 * prftoggle(names) for those that are not null. Returns 0. Leaves profiling off
 * or on as it was. */
Q64_API int64_t prfinit(uint64_t n, const char* letters, const char* names);
/* prfenmod for every byte of the NUL-ended text. Returns 0. */
Q64_API int64_t prfenmods(const char* letters);
/* Counts every routine "_<letter>_..." from now on with its count reset to 0
 * (the letter is the low 8 bits, compared exactly). Returns how many there are. */
Q64_API int64_t prfenmod(uint64_t letter);
/* For each non-empty item of the comma-separated, NUL-ended text that names a
 * listed routine, flips whether that routine is counted. Returns the number of
 * names found. */
Q64_API int64_t prftoggle(const char* names);
/* Index of the listed name with exactly these length bytes, or -1. */
Q64_API int64_t prflookup(const char* name, uint64_t length);

/* Switches profiling on and keeps the PackedTime as the start stamp; returns 0,
 * or -1 (nothing changed) when the flag is already 0. */
Q64_API int64_t prfon(uint64_t stamp);
/* Switches profiling off and keeps the PackedTime as the stop stamp; returns 0,
 * or -1 (nothing changed) when it is already off. */
Q64_API int64_t prfoff(uint64_t stamp);
/* The start stamp (which = 0) or stop stamp (1) when it is a valid PackedTime,
 * otherwise all ones; all ones for any other argument. */
Q64_API uint64_t prfstamp(uint64_t which);
/* The routine's name in the name list, or null when the index is negative or
 * not below N (N is 0 until the first prfsetup). */
Q64_API const char* prfname(int64_t index);
/* The counter table: the word N followed by 1,024 counter words (bit 63: not
 * counted; bits 0..62: the count). */
Q64_API uint64_t* prfcounters(void);
/* The trace ring: the mask word (size - 1), the position word (the next entry
 * to write; the oldest once the ring has wrapped), then the 16-bit entries. */
Q64_API uint64_t* prfring(void);
/* The ring entry at position p modulo the ring's size. */
Q64_API uint64_t prfringat(const uint64_t* ring, uint64_t p);

/* Text helpers of the profiler's reports; no entry hook. Bytes given as 64-bit
 * arguments are their low 8 bits. */

/* Writes v as 20 decimal digits with leading zeros, a NUL and three "0" bytes
 * (24 bytes in all). Returns 0. */
Q64_API int64_t prfdec20(char* buffer, uint64_t v);
/* Writes k blanks and a NUL for k >= 1 and returns 0; otherwise writes nothing
 * and returns -1. */
Q64_API int64_t prfblanks(char* buffer, int64_t k);
/* Copies source bytes into a field of w bytes until the byte t: a shorter text
 * is padded with blanks (result 0); a text that fills the field gives 0 when t
 * follows it and 1 when it was longer. Writes no NUL. */
Q64_API int64_t prffield(char* dst, const char* src, uint64_t t, uint64_t w);
/* Returns -1. */
Q64_API int64_t prffail(void);
/* The first b in [start, end), or null. */
Q64_API const char* prfscanf(const char* start, uint64_t b, const char* end);
/* The last b in [lower, position], searching downward, or null. */
Q64_API const char* prfscanb(const char* lower, uint64_t b, const char* position);
/* The last byte in [lower, position] that is b1 or b2, or null. */
Q64_API const char* prfscanb2(const char* lower, uint64_t b1, uint64_t b2, const char* position);

#ifdef __cplusplus
}
#endif
