/* Allocation and copying of NumRecs (module _a_).
 *
 * Blocks come from the working stack of the scratch area (_2_alocs) unless
 * stated; they belong to the caller, who gives them back last in, first out
 * (_2_frees). A compact copy holds only the source's n significant words: its
 * L is n, its header and exponent are the source's (sign and reserved bits
 * included) with the record length of the destination.
 */
#pragma once

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* k fresh records of l words each, back to back in one block of l*k words;
 * each header holds l, L = 0, sign 0 (exponents not set). Returns the first
 * record; null when k < 1, l < 2, l > 268,435,455 or there is no room. */
uint64_t* _a_alocini(uint64_t l, uint64_t k);
/* Compact copy of src into dst, which becomes a record of l words (l = 0: the
 * source's l) and must have room for them. 0, or -1 (nothing changed) when
 * n + 2 > l or l > 268,435,455. dst may be src. */
int64_t _a_numtonum(uint64_t* dst, uint64_t* src, uint64_t l);
/* _a_numtonum(dst, src, the l of dst). */
int64_t _a_numovnum(uint64_t* dst, uint64_t* src);
/* A new working-stack record of l words (0: the source's l) holding a compact
 * copy of src; null when there is no room or the value does not fit (the
 * block is then given back: the stack stays as it was). */
uint64_t* _a_numtoaloc(uint64_t* src, uint64_t l);
/* Copies only the mantissa: L = n and the n significant words of src; dst
 * keeps its sign and exponent. 0, or -1 (nothing changed) when the capacity
 * l-2 of dst is below n. A zero source clears the L of dst. */
int64_t _a_numtonump(uint64_t* dst, uint64_t* src);
/* A permanent copy on the constant stack (_2_caloc) in a block of l words (0:
 * exactly n + 2). The copy has the source's sign and exponent, zero reserved
 * bits, L = n and record length n + 2 whatever the block size. Null when
 * l < n + 2 or there is no room. */
uint64_t* _a_numtocnst(uint64_t* src, uint64_t l);
/* A new record of n + 3 words holding src * m (m one word): the n significant
 * words times m in n + 1 words, L = n + 1 (the first may be zero), the source's
 * header bits and exponent. A zero source gives a two-word zero record
 * (header 0x20000000, exponent 0). Null when there is no room. */
uint64_t* _a_numtomulaloc(uint64_t* src, uint64_t m);
/* A new record of _3_petaqwl(e) + 4 words holding the one-word integer v at
 * the exponent -e (mantissa v * 10^(16e)), sign 0. v = 0 gives a zero record
 * with exponent 0. Null when there is no room or the move to -e fails (the
 * block is then given back). */
uint64_t* _a_numtorsupaloc(uint64_t v, uint64_t e);
/* As _a_numtoaloc(src, l), then moved by e peta digits: _a_adjnumsup by e
 * when e > 0, _a_adjnumsdown by -e when e < 0. Null when the copy or the move
 * fails (the block is then given back). */
uint64_t* _a_numtoalocadj(uint64_t* src, uint64_t l, int64_t e);

#ifdef __cplusplus
}
#endif
