/* Module _0_: byte, word and bit utilities. Word moves and shifts, bit counts
 * and scans, byte texts and their scanning, short decimal texts, small-number
 * arithmetic with 128-bit pairs, the powers of ten, the record pool, and the
 * slot register, status word and argument record. */
#pragma once

#include "q64/base.h"

#ifdef __cplusplus
extern "C" {
#endif

// Population counts of words and word arrays (module _0_).
// Number of set bits of the word, 0 to 64.
Q64_API uint64_t _0_bitoncnt(uint64_t word);
// Number of clear bits of the word, 0 to 64.
Q64_API uint64_t _0_bitoffcnt(uint64_t word);
// Number of clear bits in words[0..n-1], n >= 1 (n = 0 gives 0). The count
// is exact for any n.
Q64_API uint64_t _0_bitcnt0(const uint64_t* words, uint64_t n);

// Bit scans over words whose bits are numbered from the most significant bit
// (index 0) down, as in the prime table's bitmap (module _0_).
// Position of the first clear bit at or after `start` in words[0..count-1],
// counted from bit 0 of words[0] (64 positions per word, most significant bit
// first); -1 when there is none or when start >= 64 * count. Reads only the
// words from start / 64 on.
Q64_API int64_t _0_bitscan0(const uint64_t* words, uint64_t start, uint64_t count);

// Index (0 = most significant bit) of the n-th clear bit of `word`, counted
// from the top, n >= 1; -1 when the word has fewer than n clear bits (n = 0
// also gives -1).
Q64_API int64_t _0_bitscan0n(uint64_t word, uint64_t n);

/* Byte moves and edits of module _0_: copies and shifts of byte areas,
 * insertions, blank trimming, element reversal, rotation, and stores of the
 * low or high bytes of a word. A byte given as a 64-bit argument is its low 8
 * bits. Moves inside one area go in the order that makes the overlap safe.
 */
/* Copies n bytes, the last byte first. Returns n. */
Q64_API uint64_t _0_strcpy(char* dst, const char* src, uint64_t n);
/* Moves area[0..m-1] k places up, last byte first; returns area + k. */
Q64_API char* _0_strsftr(char* area, uint64_t m, uint64_t k);
/* Moves area[0..m-1] k places down, first byte first; returns area - k. */
Q64_API char* _0_strsftl(char* area, uint64_t m, uint64_t k);
/* Moves m bytes one place up and writes b at area[0]; returns m + 1. */
Q64_API uint64_t _0_strsftr1ch(char* area, uint64_t m, uint64_t b);
/* Inserts b at position p of the n-byte text (text[p..n-1] move up by one);
 * returns n - p + 1, or -1 (nothing changed) when p is above n. */
Q64_API int64_t _0_isrtch(char* text, uint64_t n, uint64_t p, uint64_t b);
/* Inserts k copies of b in front of the n bytes; returns n + k, or -1
 * (nothing changed) when k is below 1. */
Q64_API int64_t _0_isrtchars(char* text, uint64_t n, uint64_t b, int64_t k);
/* Moves the bytes from the first non-blank up to and including the first t
 * after it to the start of the text; returns their number. The text must
 * contain t. */
Q64_API uint64_t _0_cprstr(char* text, uint64_t t);

/* Reverses the order of the len / e elements of e bytes (e = 1, 2, 4, 8 or 16)
 * in place and returns 0; -1 (nothing changed) for another e, or when e >= 2
 * does not divide len. */
Q64_API int64_t _0_xchgar(char* area, uint64_t len, uint64_t e);
/* Reverse the order of the whole elements of 1, 2, 4, 8 or 16 bytes in the
 * len bytes (bytes beyond the last whole element stay). Return 0. */
Q64_API int64_t _0_xchgar1(char* area, uint64_t len);
Q64_API int64_t _0_xchgar2(char* area, uint64_t len);
Q64_API int64_t _0_xchgar4(char* area, uint64_t len);
Q64_API int64_t _0_xchgar8(char* area, uint64_t len);
Q64_API int64_t _0_xchgar16(char* area, uint64_t len);

/* Rotates the n bytes right by k bytes (the last k come to the front); k from
 * 0 to 16 and below n. Returns 0, or -1 with nothing changed. */
Q64_API int64_t _0_rolr(char* area, uint64_t n, uint64_t k);
/* The rotation for k from 0 to 8, and for k from 0 to 16; both need k <= n.
 * Return 0, or -1 with nothing changed. */
Q64_API int64_t _0_rolr8(char* area, uint64_t n, uint64_t k);
Q64_API int64_t _0_rolr16(char* area, uint64_t n, uint64_t k);

/* Writes the m low bytes of v, lowest first (m from 1 to 8). Returns 0, or -1
 * (nothing written) for another m. */
Q64_API int64_t _0_stolreg(char* at, uint64_t v, uint64_t m);
/* Writes the m high bytes of v (bytes 8-m to 7 of the word, as the lowest
 * first), m from 1 to 8. Returns 0, or -1 (nothing written) for another m. */
Q64_API int64_t _0_storeg(char* at, uint64_t v, uint64_t m);

/* Runs of equal words (module _0_). */
/* The number of words from words[0] on that equal words[0], at most `left`
 * (0 when left is 0; words is then not read). */
Q64_API uint64_t _0_cntdup(const uint64_t* words, uint64_t left);

/* Decimal text of unsigned 64- and 128-bit values (module _0_).
 *
 * Digits are ASCII, without sign or grouping, most significant first, without
 * leading zeros (0 is the single digit "0"). _0_numtostr and _0_numq2tostr
 * write no NUL: the caller puts it at the returned length. 40 bytes hold any
 * Q2Value with its NUL.
 */
/* Writes the 1..39 digits of (hi, lo); returns their number. At most three
 * 128-by-64-bit divisions by 10^16, then 64-bit arithmetic only. */
Q64_API uint64_t _0_numq2tostr(char* buf, uint64_t lo, uint64_t hi);
/* Writes the 1..20 digits of v; returns their number. */
Q64_API uint64_t _0_numtostr(char* buf, uint64_t v);
/* Writes v (below 10^16) as exactly 16 digits with leading zeros; returns 16. */
Q64_API uint64_t _0_numtostr16(char* buf, uint64_t v);
/* Reverses area[0..n-1] (n >= 1) in place; returns 0. */
Q64_API int64_t _0_strxchch(char* area, uint64_t n);
/* Moves area[0..n-1] (n >= 1) k places up, last byte first, so the ranges may
 * overlap; the k bytes left in front keep their content. Returns k. */
Q64_API uint64_t _0_strshr(char* area, uint64_t n, uint64_t k);
/* Decimal digits of v: 0 for 0, else 1..20. */
Q64_API uint64_t _0_numqdecsz(uint64_t v);
/* Decimal digits of (hi, lo): 0 for 0, else 1..39. */
Q64_API uint64_t _0_numq2decsz(uint64_t lo, uint64_t hi);
/* Writes (hi, lo) right-aligned in w bytes (blanks in front) and a NUL behind;
 * w = 0 means the value's own width. Returns 0, or -1 with the buffer
 * untouched when the value has more than w (> 0) digits. */
Q64_API int64_t _0_numq2tostrn(char* buf, uint64_t w, uint64_t lo, uint64_t hi);

/* Word moves of module _0_: copies, and moves that open or close room at the
 * front or end of a word array (most significant word first). n is a word
 * count; where a routine moves words inside one array, the order of the moves
 * makes the overlap safe.
 */
/* Copies n words, the last word first (safe when dst overlaps src at a higher
 * address). Returns n. */
Q64_API uint64_t _0_cpymem(uint64_t* dst, const uint64_t* src, uint64_t n);
/* Copies the m words of src from its first non-zero word on to dst with
 * _0_cpymem and returns m; 0 (nothing copied) when all n words are zero; -1
 * when n is 0. */
Q64_API int64_t _0_cpynzmem(uint64_t* dst, const uint64_t* src, uint64_t n);
/* Moves a[0..n-1] k places toward the start, to a[-k..n-1-k], first word
 * first. Returns k. */
Q64_API uint64_t _0_sftlmem(uint64_t* a, uint64_t n, uint64_t k);
/* Moves the words from the first non-zero one to the start; returns their
 * number, 0 when all are zero (nothing moved). */
Q64_API uint64_t _0_cprslmem(uint64_t* a, uint64_t n);
/* n less the trailing zero words (0 when all are zero). Moves nothing. */
Q64_API uint64_t _0_cprsrmem(const uint64_t* a, uint64_t n);
/* Drops the trailing zero words, then the leading ones (moving the rest to
 * the start); returns the remaining length, 0 for an all-zero array. */
Q64_API uint64_t _0_cprsmmem(uint64_t* a, uint64_t n);
/* Moves a[1..n-1] to a[0..n-2] (a[n-1] keeps its value); returns n - 1
 * (-1 for n = 0, nothing moved). */
Q64_API int64_t _0_prs1mem(uint64_t* a, uint64_t n);
/* Moves the n words one place toward the end (a[n] is written) and sets
 * a[0] = 0; returns n + 1. */
Q64_API uint64_t _0_expd1mem(uint64_t* a, uint64_t n);
/* Moves the n words k places toward the end (last word first) and sets
 * a[0..k-1] = 0; returns n + k (the n + k words a[0..n+k-1] are written). */
Q64_API uint64_t _0_expdnmem(uint64_t* a, uint64_t n, uint64_t k);
/* Exchanges *x and *y. */
Q64_API void _0_xchg(uint64_t* x, uint64_t* y);

/* Small-number routines of module _0_: products and powers that stop before
 * they overflow, range tests and rounding, 128-bit pair arithmetic, and short
 * digit texts. Where a routine has two results they come back as a Q2Value
 * with the first result in lo and the second in hi.
 */
/* With lo the smaller and hi the larger of a and b: {P, j} for the largest j
 * <= hi with P = lo * (lo + 1) * ... * j below 2^64 ({lo, lo} when lo = hi or
 * lo > 2^32 - 1; {0, hi} when lo = 0). */
Q64_API Q2Value _0_numulnum(uint64_t a, uint64_t b);
/* {b^e, 0} when b^e fits in 64 bits, else {b^k, k} for the largest k with b^k
 * below 2^64. b = 0 gives {0, 0} (for e = 0 too); b = 1 or e = 0 gives {1, 0}. */
Q64_API Q2Value _0_pow64(uint64_t b, uint64_t e);
/* x * 10^k mod 2^64. */
Q64_API uint64_t _0_n10n(uint64_t x, uint64_t k);
/* x itself when x = -2^63; otherwise -1 below the smaller bound, 1 above the
 * larger one, 0 between them (bounds included). */
Q64_API int64_t _0_range(int64_t x, int64_t a, int64_t b);
/* -x mod 2^64. */
Q64_API uint64_t _0_neg(uint64_t x);
/* |x|; -2^63 stays -2^63. */
Q64_API int64_t _0_abs(int64_t x);
/* The larger of the unsigned a and b. */
Q64_API uint64_t _0_max(uint64_t a, uint64_t b);
/* x rounded up to a multiple of 8, mod 2^64. */
Q64_API uint64_t _0_rup8(uint64_t x);
/* x rounded up to a multiple of m, mod 2^64; all ones when m is 0. */
Q64_API uint64_t _0_rup(uint64_t x, uint64_t m);
/* v + x and v - x mod 2^128. */
Q64_API Q2Value _0_addq2(Q2Value v, uint64_t x);
Q64_API Q2Value _0_subq2(Q2Value v, uint64_t x);
/* v * 2^(s mod 64) mod 2^128. */
Q64_API Q2Value _0_sftlq2(Q2Value v, uint64_t s);
/* x extended to 128 bits with its sign. */
Q64_API Q2Value _0_cvtqtoq2(int64_t x);
/* The n digits (1 to 16) as the leading digits of a 16-digit number: their
 * value times 10^(16-n); all ones for another n. The digits are not checked. */
Q64_API uint64_t _0_strltonum(const char* text, uint64_t n);
/* Skips leading "0" bytes and converts the digits that follow: 0 when there
 * are none; their value when it is below 2^64; -1 for more than 20 digits or a
 * value of 2^64 or more (2^64 - 1 reads the same as the failure). */
Q64_API uint64_t _0_strdgt64num(const char* text);

/* The record pool: 8,192 static words that hand out preformatted empty number
 * records, either in 32 regions of 256 words (items of one size per region) or
 * as one whole-pool region; the two uses exclude each other. Also the same
 * formatting for any caller's area (a self-described region). No entry hook.
 *
 * An empty record of z words: first word z << 28 (value length 0, sign 0),
 * second word 0x8000000000000000 (the invalid exponent); the rest untouched.
 * An item size of 0 means 32 where a routine says so.
 */
/* Region r (0 to 31) with items of z words (3 to 256): formats 256 div z items
 * and returns their count; -1 when the whole pool or region r is in use. r = 99
 * uses the whole pool instead (poolwhole). -1 for any other r or z. */
Q64_API int64_t poolregion(uint64_t r, uint64_t z);
/* The whole pool with items of z words (2 to 8,192): formats 8,192 div z items
 * and returns their count; -1 while any region or the whole pool is in use. */
Q64_API int64_t poolwhole(uint64_t z);
/* Item i of region r (0 to 31), or null when the region is free or i is not
 * below its count. */
Q64_API uint64_t* poolitem(uint64_t r, uint64_t i);
/* Item i of the whole-pool region, or null. */
Q64_API uint64_t* poolitem32(uint64_t i);
/* Frees region r (0 to 31) and returns 0; 1 when it was free already; -1 for
 * another r. The whole-pool use is never released. */
Q64_API int64_t poolfree(uint64_t r);
/* The first word of region r (0 to 31), r * 256 words into the pool; null for
 * another r. */
Q64_API uint64_t* poolbase(uint64_t r);

/* Formats the area of W words as a self-described region of items of z words
 * (0 means 32; at least 2): word 0 gets count << 32 | z with count =
 * (W - 1) div z, and the items follow. Returns the count, or -1 when z is not
 * below W, is below 2 or above 268,435,455 (the largest record length), or
 * the count does not fit in 32 bits. */
Q64_API int64_t regformat(uint64_t* area, uint64_t w, uint64_t z);
/* Item i of a self-described region (1 + i * z words in), or null when i is
 * not below its count. */
Q64_API uint64_t* regitem(uint64_t* area, uint64_t i);

/* The powers of ten that fit a 64-bit word, shared by the whole library. */
/* 10^16, the base of a peta digit (pow10tab[16]). */
#define NUMREC_PETA UINT64_C(10000000000000000)
/* pow10tab[i] = 10^i for i = 0..19 (10^19 is the largest power below 2^64). */
Q64_API extern const uint64_t pow10tab[20];
/* 10^i for i = 0..19; all ones for a larger i. */
Q64_API uint64_t pow10val(uint64_t i);
/* Address of pow10tab[i]; i must be within 0..19. */
Q64_API const uint64_t* pow10ptr(uint64_t i);

/* Byte scans of module _0_. A byte given as a 64-bit argument is its low 8
 * bits; bytes compare as unsigned values. Positions count from 0.
 */
/* Position of the first b; the text must contain b. */
Q64_API uint64_t _0_scanmch(const char* text, uint64_t b);
/* 0 when all n bytes are the digits "0" to "9" (n = 0 too), else -1. */
Q64_API int64_t _0_chnum(const char* area, uint64_t n);
/* Scans at most n bytes: the position of t when it comes before any
 * non-digit, -1 when a byte that is neither t nor a digit comes first, n when
 * the n bytes are all digits. */
Q64_API int64_t _0_scanchnum(const char* area, uint64_t n, uint64_t t);
/* Position of the first byte that matches b after case folding (every byte
 * below 97, b too, is raised by 32 first, so "A" to "Z" match "a" to "z"), or n. */
Q64_API uint64_t _0_scanatoz(const char* area, uint64_t n, uint64_t b);
/* The same from the end: position of the last match, or -1. */
Q64_API int64_t _0_scanratoz(const char* area, uint64_t n, uint64_t b);
/* Length of the run of bytes equal to the first one: at least 1, and 0 for an
 * empty text (the first byte a NUL). */
Q64_API uint64_t _0_cntchr(const char* text);

/* Bit shifts of word arrays, their bit length, and their comparison with 10^16
 * (module _0_). Word arrays hold unsigned 64-bit words, MOST significant first;
 * n is the word count. A shift count s is 0..63; a larger one is refused with
 * -1 and nothing changed, as is n = 0.
 */
/* A = A * 2^s mod 2^(64n) in place. Returns 1 when set bits left word 0, else 0. */
Q64_API int64_t _0_bitshtl(uint64_t* a, uint64_t n, uint64_t s);
/* A = A div 2^s in place. Returns 1 when set bits left word n-1, else 0. */
Q64_API int64_t _0_bitshtr(uint64_t* a, uint64_t n, uint64_t s);
/* A * 2^s exactly: in the n words (result 0) when nothing leaves word 0,
 * otherwise in n + 1 words, the array growing by word n (result 1). The caller
 * keeps room for word n. */
Q64_API int64_t _0_bitshtlex(uint64_t* a, uint64_t n, uint64_t s);
/* A shifted right by s without losing bits: when set bits would leave word n-1
 * they are kept, in the top s bits of a new word n, and the result is 1 (the
 * n + 1 words then hold A * 2^(64-s)); otherwise a plain right shift, result 0
 * (word n is not written). */
Q64_API int64_t _0_bitshtrex(uint64_t* a, uint64_t n, uint64_t s);
/* Significant bits of A: 0 when A is zero or n is 0. */
Q64_API uint64_t _0_bitlen(const uint64_t* a, uint64_t n);
/* Compares A with 10^16: -1 smaller (an all-zero or empty array too), 0 equal,
 * 1 larger. Leading zero words are skipped. */
Q64_API int64_t _0_cmpeta(const uint64_t* a, uint64_t n);

/* Byte and text routines of module _0_ used to read answer lines and numbers.
 *
 * Texts are byte strings ended by a NUL. Bytes compare as unsigned values; a
 * byte k given as a 64-bit argument means its low 8 bits. Bytes of 128 and
 * above (Shift-JIS lead and trail bytes) are ordinary bytes: neither blanks,
 * control bytes nor digits. A control byte is 0..31, a blank is 32, a tab 9.
 */
/* Writes k over the first control byte (the ending NUL included) and returns
 * its position: with k = 0 the text is cut there and the result is its length. */
Q64_API uint64_t _0_schtozr(char* text, uint64_t k);
/* The first byte that is neither a blank nor a tab. */
Q64_API char* _0_nextch(const char* text);
/* Bytes before the NUL. */
Q64_API uint64_t _0_strlen(const char* text);
/* 0 when a and b are equal up to and including the NUL, else -1 (no order). */
Q64_API int64_t _0_strcmp(const char* a, const char* b);
/* Bytes before the first byte equal to k or the NUL, whichever comes first. */
Q64_API uint64_t _0_strchar(const char* text, uint64_t k);
/* Position of the first byte equal to k among area[0..n-1] (n >= 1), or n. */
Q64_API uint64_t _0_scanch(const char* area, uint64_t n, uint64_t k);
/* Copies src up to and including the first byte equal to k (k = 0: a plain
 * text copy); returns the bytes copied, k included. A NUL before any k ends
 * the copy too (the NUL is copied and counted). No overlap. */
Q64_API uint64_t _0_strcpych(char* dst, const char* src, uint64_t k);
/* Sets area[0..n-1] (n >= 1) to k; returns n. */
Q64_API uint64_t _0_chset(char* area, uint64_t n, uint64_t k);
/* Sets words[0..n-1] (n >= 1) to 0; returns n. */
Q64_API uint64_t _0_clear(uint64_t* words, uint64_t n);

/* Number of ASCII digits at the start of the text. */
Q64_API uint64_t _0_dgtlen(const char* text);
/* Value of the first n (>= 1) digits modulo 2^64. The bytes are not checked:
 * the caller has counted them with _0_dgtlen. */
Q64_API uint64_t _0_strtonum(const char* text, uint64_t n);
/* Value of the first n (>= 1) digits modulo 2^128; bytes not checked. */
Q64_API Q2Value _0_strtobignum(const char* text, uint64_t n);
/* Converts exactly n digits (n = 0: all the leading digits) into *dst and
 * returns dst; returns null with *dst unchanged when the text does not start
 * with n digits (or with none for n = 0) or their value is 2^128 or more. */
Q64_API Q2Value* _0_strtobigar(Q2Value* dst, const char* text, uint64_t n);

/* The slot register, the status word, the argument record and pow2: routines
 * without a name in the profiler's list and without an entry hook. They keep
 * static state; none is reentrant. */
/* A register of four slots, each free (all ones) at load and set only once. */
/* Stores v in slot i when i < 4 and the slot is free and returns v; else 0. */
Q64_API uint64_t slotset(uint64_t i, uint64_t v);
/* The value of slot i, or 0 when it is free or i > 3. */
Q64_API uint64_t slotget(uint64_t i);

/* The status word, 0x8000000000000000 (no status) at load. */
/* Stores v; returns v. */
Q64_API uint64_t statset(uint64_t v);
/* The status word, or -10 while no status has been set. */
Q64_API int64_t statget(void);

/* The argument record: a count word followed by 16 value words, 0 at load.
 * argrecK stores K and its K arguments in words 1 to K (the other value words
 * keep their values) and returns the record's address. */
Q64_API uint64_t* argrec1(uint64_t v1);
Q64_API uint64_t* argrec2(uint64_t v1, uint64_t v2);
Q64_API uint64_t* argrec3(uint64_t v1, uint64_t v2, uint64_t v3);
Q64_API uint64_t* argrec4(uint64_t v1, uint64_t v2, uint64_t v3, uint64_t v4);
Q64_API uint64_t* argrec5(uint64_t v1, uint64_t v2, uint64_t v3, uint64_t v4, uint64_t v5);
Q64_API uint64_t* argrec6(uint64_t v1, uint64_t v2, uint64_t v3, uint64_t v4, uint64_t v5, uint64_t v6);
Q64_API uint64_t* argrec7(uint64_t v1, uint64_t v2, uint64_t v3, uint64_t v4, uint64_t v5, uint64_t v6,
                  uint64_t v7);
Q64_API uint64_t* argrec8(uint64_t v1, uint64_t v2, uint64_t v3, uint64_t v4, uint64_t v5, uint64_t v6,
                  uint64_t v7, uint64_t v8);
Q64_API uint64_t* argrec9(uint64_t v1, uint64_t v2, uint64_t v3, uint64_t v4, uint64_t v5, uint64_t v6,
                  uint64_t v7, uint64_t v8, uint64_t v9);
Q64_API uint64_t* argrec10(uint64_t v1, uint64_t v2, uint64_t v3, uint64_t v4, uint64_t v5, uint64_t v6,
                   uint64_t v7, uint64_t v8, uint64_t v9, uint64_t v10);
Q64_API uint64_t* argrec11(uint64_t v1, uint64_t v2, uint64_t v3, uint64_t v4, uint64_t v5, uint64_t v6,
                   uint64_t v7, uint64_t v8, uint64_t v9, uint64_t v10, uint64_t v11);
Q64_API uint64_t* argrec12(uint64_t v1, uint64_t v2, uint64_t v3, uint64_t v4, uint64_t v5, uint64_t v6,
                   uint64_t v7, uint64_t v8, uint64_t v9, uint64_t v10, uint64_t v11,
                   uint64_t v12);
Q64_API uint64_t* argrec13(uint64_t v1, uint64_t v2, uint64_t v3, uint64_t v4, uint64_t v5, uint64_t v6,
                   uint64_t v7, uint64_t v8, uint64_t v9, uint64_t v10, uint64_t v11,
                   uint64_t v12, uint64_t v13);
Q64_API uint64_t* argrec14(uint64_t v1, uint64_t v2, uint64_t v3, uint64_t v4, uint64_t v5, uint64_t v6,
                   uint64_t v7, uint64_t v8, uint64_t v9, uint64_t v10, uint64_t v11,
                   uint64_t v12, uint64_t v13, uint64_t v14);
Q64_API uint64_t* argrec15(uint64_t v1, uint64_t v2, uint64_t v3, uint64_t v4, uint64_t v5, uint64_t v6,
                   uint64_t v7, uint64_t v8, uint64_t v9, uint64_t v10, uint64_t v11,
                   uint64_t v12, uint64_t v13, uint64_t v14, uint64_t v15);
Q64_API uint64_t* argrec16(uint64_t v1, uint64_t v2, uint64_t v3, uint64_t v4, uint64_t v5, uint64_t v6,
                   uint64_t v7, uint64_t v8, uint64_t v9, uint64_t v10, uint64_t v11,
                   uint64_t v12, uint64_t v13, uint64_t v14, uint64_t v15, uint64_t v16);

/* 2^(n mod 64). */
Q64_API uint64_t pow2(uint64_t n);

// Word-array comparisons of module _0_ that the long division of module _1_
// rests on. Word arrays hold unsigned 64-bit words, MOST significant first.
// Comparisons answer -1 if the first value is smaller, 0 if equal, 1 if
// larger. None of them writes memory.
// Number of leading zero words of a[0..n-1] (index of the first non-zero
// word); n when all are zero.
Q64_API int64_t _0_cntzero(const uint64_t* a, uint64_t n);
// Compares the n-word values A and B (n = 0 compares equal).
Q64_API int64_t _0_cmp(const uint64_t* a, const uint64_t* b, uint64_t n);
// Compares A (n + 1 words) with B * 2^s (B: n words, shifted into n + 1
// words), 1 <= s <= 63.
Q64_API int64_t _0_cmp2n1(const uint64_t* a, const uint64_t* b, uint64_t n, uint64_t s);
// Compares A (n words) with B * 2^s (B: n words), 1 <= s <= 63. When the shift
// carries set bits out of the n words, A is the smaller (-1).
Q64_API int64_t _0_cmp2n0(const uint64_t* a, const uint64_t* b, uint64_t n, uint64_t s);
// Largest s in 0..63 with B * 2^s <= A, where A has n + 1 words with a[0] != 0,
// B has n words with b[0] != 0 and t is the index of the top set bit of b[0].
// -1 when B * 2^64 <= A. (A < B cannot occur: A has a non-zero extra word.)
Q64_API int64_t _0_n1mxn2n1(const uint64_t* a, const uint64_t* b, uint64_t n, uint64_t t);
// Largest s in 0..63 with B * 2^s <= A, where A and B have n words each,
// a[0] != 0, b[0] != 0 and t is the index of the top set bit of b[0].
// -1 when A < B.
Q64_API int64_t _0_n1mxn2n(const uint64_t* a, const uint64_t* b, uint64_t n, uint64_t t);

#ifdef __cplusplus
}
#endif
