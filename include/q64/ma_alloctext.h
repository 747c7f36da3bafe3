/* Module _a_: allocation, alignment and copies of number records, records
 * from integers, and decimal text in and out. */
#pragma once

#include "q64/base.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Exponent alignment of NumRecs (module _a_): the mantissa is multiplied or
 * divided by powers of 10^16 while the exponent moves the other way, so the
 * value stays the same, except that dividing down truncates toward zero (the
 * remainders are dropped, never rounded).
 */
/* M *= (10^16)^k, e -= k. 0, or -1 when the exponent would overflow (nothing
 * changed) or the mantissa runs out of room; after the latter the record is
 * lost (its mantissa partly multiplied while L and the exponent were not
 * updated). Removes the leading zero words first; a zero record stays as it
 * is, exponent included. */
Q64_API int64_t _a_adjnumsup(uint64_t* rec, uint64_t k);
/* M = M div 10^16, k times (truncation), e += k. 0, or -1 (nothing changed)
 * when the exponent would overflow. L is kept: the mantissa may be left with
 * leading zero words; a mantissa that reaches zero gets L = 0 and the exponent
 * still grows by k. A zero record stays as it is, exponent included. */
Q64_API int64_t _a_adjnumsdown(uint64_t* rec, uint64_t k);
/* Moves the record to the exponent e with one of the two above; 0 when e is
 * already its exponent. */
Q64_API int64_t _a_adjnums(uint64_t* rec, int64_t e);
/* Drops peta digits until the significant length is at most s words, as few
 * as that takes; returns how many it dropped, or -1 when the exponent would
 * overflow (the digits dropped before stay dropped: the record is lost). */
Q64_API int64_t _a_adjnumszdown(uint64_t* rec, uint64_t s);
/* Multiplies the L-word mantissa by 10^16, k times, in place; it may grow to
 * capacity words. Returns the new L (the leading zero word of each step
 * dropped), or -1 when a step finds L at the capacity (the mantissa is then
 * partly multiplied). L = 0 stays 0. */
Q64_API int64_t _a_mulpetac(uint64_t* mantissa, uint64_t lenv, uint64_t k, uint64_t capacity);

/* Allocation and copying of NumRecs (module _a_).
 *
 * Blocks come from the working stack of the scratch area (_2_alocs) unless
 * stated; they belong to the caller, who gives them back last in, first out
 * (_2_frees). A compact copy holds only the source's n significant words: its
 * L is n, its header and exponent are the source's (sign and reserved bits
 * included) with the record length of the destination.
 */
/* k fresh records of l words each, back to back in one block of l*k words;
 * each header holds l, L = 0, sign 0 (exponents not set). Returns the first
 * record; null when k < 1, l < 2, l > 268,435,455 or there is no room. */
Q64_API uint64_t* _a_alocini(uint64_t l, uint64_t k);
/* Compact copy of src into the l words at dst, which become a record (l = 0:
 * the source's l). 0, or -1 (nothing changed) when
 * n + 2 > l or l > 268,435,455. dst may be src. */
Q64_API int64_t _a_numtonum(uint64_t* dst, uint64_t* src, uint64_t l);
/* _a_numtonum(dst, src, the l of dst). */
Q64_API int64_t _a_numovnum(uint64_t* dst, uint64_t* src);
/* A new working-stack record of l words (0: the source's l) holding a compact
 * copy of src; null when there is no room or the value does not fit (the
 * block is then given back: the stack stays as it was). */
Q64_API uint64_t* _a_numtoaloc(uint64_t* src, uint64_t l);
/* Copies only the mantissa: L = n and the n significant words of src; dst
 * keeps its sign and exponent. 0, or -1 (nothing changed) when the capacity
 * l-2 of dst is below n. A zero source clears the L of dst. */
Q64_API int64_t _a_numtonump(uint64_t* dst, uint64_t* src);
/* A permanent copy on the constant stack (_2_caloc) in a block of l words (0:
 * exactly n + 2). The copy has the source's sign and exponent, zero reserved
 * bits, L = n and record length n + 2 whatever the block size. Null when
 * l < n + 2 or there is no room. */
Q64_API uint64_t* _a_numtocnst(uint64_t* src, uint64_t l);
/* A new record of n + 3 words holding src * m (m one word): the n significant
 * words times m in n + 1 words, L = n + 1 (the first may be zero), the source's
 * header bits and exponent. A zero source gives a two-word zero record
 * (header 0x20000000, exponent 0). Null when there is no room. */
Q64_API uint64_t* _a_numtomulaloc(uint64_t* src, uint64_t m);
/* A new record of _3_petaqwl(e) + 4 words holding the one-word integer v at
 * the exponent -e (mantissa v * 10^(16e)), sign 0. v = 0 gives a zero record
 * with exponent 0. Null when there is no room or the move to -e fails (the
 * block is then given back). */
Q64_API uint64_t* _a_numtorsupaloc(uint64_t v, uint64_t e);
/* As _a_numtoaloc(src, l), then moved by e peta digits: _a_adjnumsup by e
 * when e > 0, _a_adjnumsdown by -e when e < 0. Null when the copy or the move
 * fails (the block is then given back). */
Q64_API uint64_t* _a_numtoalocadj(uint64_t* src, uint64_t l, int64_t e);

/* NumRecs from machine integers (module _a_). A record area of l words is
 * given with l = 0 meaning the lenl already in the area's header. Results are
 * 0, or -1 when the area is too small (l < 3, or l <= 4 for _a_numpowtor) or
 * l exceeds 268,435,455; the rescaling routines return the result of the
 * rescaling.
 */
/* The record of v: header cleared (sign 0), M = v in one word (L = 1; L = 0
 * for v = 0), e = 0, lengths L and l. */
Q64_API int64_t _a_numtor(uint64_t* area, uint64_t l, uint64_t v);
/* _a_numtor, then the sign: a sign byte (low 8 bits) other than "+" and the
 * NUL makes the record negative. */
Q64_API int64_t _a_numstor(uint64_t* area, uint64_t l, uint64_t v, uint64_t sign);
/* _a_numstor, then rescaled to the library's default scale s (statget: -10
 * while no status was set): s < 0 by _a_adjnumsup(-s), s > 0 by
 * _a_adjnumsdown(s). The value stays (up) or is truncated (down). */
Q64_API int64_t _a_numstorvt(uint64_t* area, uint64_t l, uint64_t v, uint64_t sign);
/* |v| with the sign of v, then rescaled by t as above (t < 0 up, t > 0 down). */
Q64_API int64_t _a_numbintor(uint64_t* area, uint64_t l, int64_t v, int64_t t);
/* The integer base^exponent (e = 0; 0 to any power, 0^0 included, is 0): built
 * from the largest power that fits one word (_0_pow64), multiplied by base
 * one factor at a time; -1 when l <= 4 or when M has reached l - 2 words
 * while factors remain. The lengths are set with _9_len2st, so the area's
 * sign and reserved bits stay as they were. */
Q64_API int64_t _a_numpowtor(uint64_t* area, uint64_t l, uint64_t base, uint64_t exponent);

/* Reading NumRecs from decimal text (module _a_).
 *
 * Input form: an optional sign ("+" or "-"), digits, optionally "." and more
 * digits, optionally "e" or "E", an optional sign and the digits of a decimal
 * exponent. The mantissa part ends at the first "e" or "E" and needs at least
 * one character besides its sign ("5", ".5", "5." and "." are accepted; "e5",
 * "-" and "1.2.3" are not); "1e" and "1e+" leave the value as it is. The
 * result is exact: the integer and fraction digits go into M sixteen at a
 * time, each fraction group lowering e by one, and the decimal exponent X
 * becomes X div 16 peta digits of e and a factor 10^(X mod 16) of M.
 * Long digit runs are read by halves (_4_strntonumr, m4_petadigits.h), with
 * work memory from the working stack.
 * Results are 0, or -1 for a text that is not in the input form, an area too
 * small, or an exponent beyond the signed 64-bit exponent field (the value
 * -2^63, which marks an invalid number, included); after -1 the area may be
 * partly written.
 */
/* Reads the NUL-ended text into the record area of l words (l = 0: the lenl
 * of the area); -1 when the text may need more than l - 2 mantissa words
 * (_4_ndsize), else _a_strtor. */
Q64_API int64_t _a_struztor(uint64_t* area, uint64_t l, const char* text);
/* Makes the area of l words (2 to 268,435,455) the record of the len bytes of
 * text: header l << 28, e = 0, then the value. The area must have room for
 * _4_ndsize(text, len) mantissa words; _a_struztor checks that. */
Q64_API int64_t _a_strtor(uint64_t* area, uint64_t l, const char* text, uint64_t len);

/* Pieces of the reading. */
/* The mantissa part (len bytes, up to the "e"): an optional sign, which sets
 * the record's sign bit, then _a_strdig. */
Q64_API int64_t _a_strdigtor(uint64_t* rec, const char* text, uint64_t len);
/* Integer digits, an optional "." and fraction digits (len bytes, no sign)
 * into M (from L = 0) and e; sets L. */
Q64_API int64_t _a_strdig(uint64_t* rec, const char* text, uint64_t len);
/* The exponent part (len bytes from the "e"; empty or the letter alone leave
 * the record complete): an optional sign and digits, then _a_mul10n or
 * _a_div10n. An exponent of more than 21 significant digits is 2^68 or more:
 * refused. */
Q64_API int64_t _a_strdigtoexp(uint64_t* rec, const char* text, uint64_t len);
/* Multiplies the value by 10^X, X = (hi, lo): e += X div 16, and for
 * r = X mod 16 not 0, M *= 10^r, which makes M one word longer (its first word
 * possibly zero). -1, nothing changed, when X >= 2^68, when X div 16 is 2^63 or
 * more, when e would overflow, or when M needs that word and has no free one. */
Q64_API int64_t _a_mul10n(uint64_t* rec, uint64_t lo, uint64_t hi);
/* Multiplies the value by 10^-X: e -= ceil(X/16), and for r = X mod 16 not 0,
 * M *= 10^(16 - r) (one word longer). X = 0 changes nothing. -1, nothing
 * changed, when X >= 2^68, when e would leave the range -2^63 + 1 .. 2^63 - 1,
 * or when M needs a word and has no free one. */
Q64_API int64_t _a_div10n(uint64_t* rec, uint64_t lo, uint64_t hi);
/* The sign of the text: {1, 1} for a leading "-", {0, 1} for "+", else {0, 0}
 * (sign bit; characters taken). */
Q64_API Q2Value _a_sign(const char* text, uint64_t len);

/* Decimal text of NumRecs (module _a_). Texts end with a NUL unless stated.
 *
 * Plain form (_a_numtostr): a zero record is "0"; otherwise the sign "+" or
 * "-", the digits of the mantissa M, then 16e zeros for e > 0, or for e < 0 a
 * point with exactly 16|e| digits behind it ("0." and zeros in front when M
 * has no more digits than that; trailing zeros stay).
 * Exponent form (_a_numtoestr): the sign, the first digit of M, ".", the other
 * k - 1 digits, "e", the sign of X and |X|, X = 16e + k - 1 (k the digits of
 * M); a zero mantissa gives the sign and "0.0". A one-digit M gives "+1.e-16".
 * d-digit form (_a_numtoestrn): the exponent form of M truncated to d
 * significant digits (never rounded), padded with zeros to exactly d - 1
 * digits behind the point; d = 0 drops the point as well. A zero record gives
 * the sign, "0.", d - 1 zeros and "e0" for d >= 2, the sign and "0" for d <= 1.
 *
 * The writers of the three forms destroy the record's mantissa (they work on
 * it in place) and keep their state in one static conversion record: they are
 * not reentrant. _a_prtnum and _a_prtenum work on a scratch copy instead.
 * Long mantissas are written by halves (_4_numtostr, m4_petadigits.h), with
 * work memory from the working stack above what the routine itself takes.
 */
/* Printing into the scratch area. */
/* The plain form of rec in the scratch area, or null: for a null record, when
 * the scratch area cannot take the copy or the text, or when the text would be
 * longer than 16,384 characters. rec is not changed. The text lies in released
 * scratch space: it stays readable until the next scratch allocation. */
Q64_API char* _a_prtnum(uint64_t* rec);
/* The same for the d-digit form; a zero record gives "0.0e0". */
Q64_API char* _a_prtenum(uint64_t* rec, uint64_t d);
/* Characters, the NUL included, that the plain form of rec may need: 16 for a
 * zero record; otherwise, with p the digits of the largest number of as many
 * significant words rounded up to whole peta digits, p + 16e + 2 (e > 0),
 * p + 2 (e = 0), and for e < 0 with f = 16|e|: p + 3 when f < p, else f + 4.
 * All ones when the size does not fit 64 bits. */
Q64_API uint64_t _a_prdsize(const uint64_t* rec);

/* The three forms, written into the caller's buffer. */
/* Writes the plain form (buffer of _a_prdsize characters) and returns buf.
 * Destroys M. */
Q64_API char* _a_numtostr(char* buf, uint64_t* rec);
/* Writes the exponent form; returns {buf, text length}, length 0 for a zero
 * mantissa. Destroys M. The buffer needs k + 26 characters. */
Q64_API Q2Value _a_numtoestr(char* buf, uint64_t* rec);
/* Writes the d-digit form and returns buf. Before writing, M is divided by
 * 10^16 until it fits _a_pbtsize(d) bits and e is raised by the number of
 * divisions (when e cannot be raised the text is still right but the record
 * keeps its old e). The buffer needs max(16 * (ceil(d/16) + 1) + 27, d + 26)
 * characters. */
Q64_API char* _a_numtoestrn(char* buf, uint64_t d, uint64_t* rec);

/* Pieces of the forms. */
/* Cuts or pads the digits behind the point of the exponent-form text of len
 * characters at buf so that exactly d - 1 remain (d = 0: the point goes too),
 * moving the exponent part; terminates the text and returns buf. */
Q64_API char* _a_strnumn(char* buf, uint64_t len, uint64_t d);
/* Rewrites the zero text "+0.0" or "-0.0" at buf into the zero text of the
 * d-digit form; returns buf. */
Q64_API char* _a_strzeron(char* buf, uint64_t d);
/* Divides a[0..n-1] (a[0] not 0) in place by 10^16 at least once and until it
 * fits in b bits (_a_bit2num); returns the number of divisions. Words that
 * become zero at the front are stepped over (they stay in the array). */
Q64_API uint64_t _a_divpetan(uint64_t* a, uint64_t n, uint64_t b);
/* 1 when a[0..n-1] (a[0] not 0) does not fit in b bits, else 0 (also for
 * n = 0). When b is a multiple of 64 a number of exactly b bits already counts
 * as too long. */
Q64_API uint64_t _a_bit2num(const uint64_t* a, uint64_t n, uint64_t b);
/* The bit budget of the d-digit form: _3_petabitl(ceil(d/16) + 1). */
Q64_API uint64_t _a_pbtsize(uint64_t d);
/* Writes the first digit of a[0..L-1], ".", the other digits (no NUL) at out;
 * returns k, the number of digits. An all-zero array gives "0.0" with a NUL
 * and 0. Destroys the array. */
Q64_API uint64_t _a_bintostr1(uint64_t* a, uint64_t lenv, char* out);
/* Writes "e", the sign and the digits of X = 16e + km1 (computed in 128 bits;
 * no NUL) at out; returns the number of characters. */
Q64_API uint64_t _a_expntostr(char* out, int64_t e, uint64_t km1);
/* For the signed 128-bit X = (hi, lo): writes "+" at out and returns X when
 * X >= 0, else writes "-" and returns -X. */
Q64_API Q2Value _a_expsign(char* out, uint64_t lo, uint64_t hi);
/* "-" when the sign bit (bit 63) of the header word is set, else "+". */
Q64_API uint64_t _a_asign(uint64_t header);
/* The same, read from the record. */
Q64_API uint64_t _a_gsign(const uint64_t* rec);

#ifdef __cplusplus
}
#endif
