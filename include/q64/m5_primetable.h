/* Module _5_, the prime table: its blocks and bit addressing, the sieve, the
 * statistics and extension. */
#pragma once

#include "q64/base.h"

#ifdef __cplusplus
extern "C" {
#endif

/* The prime table: a chain of blocks of 64-bit words holding a sieve bitmap
 * over the numbers from 211 upward that are prime to 210.
 *
 * Block words: 0 lastIndex (W - 1), 1 baseWord (bitmap words of all earlier
 * blocks), 2 limit (first number past this block's bitmap; in the first block
 * the limit of the whole table), 3 .. lastIndex - 1 the bitmap, lastIndex the
 * address of the next block or all ones in the last block. Bit positions run
 * most significant bit first; a set bit marks a composite, a clear bit a prime.
 */
/* A block is addressed as its array of words. */
typedef uint64_t TableBlock;

/* Bit addressing of the prime table (module _5_).
 *
 * Position p (counted over the whole table from 0) stands for the number
 * (p div 48 + 1) * 210 + WheelResidues[p mod 48]; position 0 is 211. It lies
 * in bitmap word p div 64 of the table, counted across blocks, at the bit of
 * value 2^(63 - p mod 64).
 */
/* The number of a position (high word 0). */
Q64_API Q2Value _5_postonum(uint64_t position);
/* The position of a number, or -1 when it shares a factor with 210 or is
 * below 211 (those have no bit). */
Q64_API int64_t _5_numbpos(uint64_t number);
/* The bit of a table-wide position, walking the chain from `block`: 0 clear
 * (prime), 1 set (composite), -1 at or beyond the end of the chain. */
Q64_API int64_t _5_bitval(uint64_t position, const TableBlock* block);
/* Sets the bit of a table-wide position in `block`, which must hold it (no
 * chain walk, no bounds check). */
Q64_API void _5_biton(uint64_t position, TableBlock* block);
/* The number of position 64 * w: the limit of a table whose bitmap ends after
 * w words. _5_prmtbcap(0) = 211. */
Q64_API uint64_t _5_prmtbcap(uint64_t words);
/* The smallest number the block covers: 211 when its baseWord is 0, else
 * _5_prmtbcap(baseWord). */
Q64_API uint64_t _5_prmtmin(const TableBlock* block);

/* Building the prime table: block initialisation and the wheel sieve. */
/* Initialises a block of N + 1 words: lastIndex N, the given baseWord, no next
 * block, its limit, and a clear bitmap. */
Q64_API void _5_prminit(uint64_t lastIndex, TableBlock* block, uint64_t baseWord);
/* Builds a complete one-block table in the W words of `block` (obtained and
 * owned by the caller). Returns 0, or -1 (block untouched) when W < 5.
 * This and _5_prmexpd sieve on every hardware thread the process may use
 * (threads of their own, all joined before they return), with the same bits
 * as on one thread. */
Q64_API int64_t _5_prmnew(uint64_t words, TableBlock* block);

/* SieveWork: the static work record of the sieve passes. The sieve routines
 * take no arguments beyond it; the prime questions set `head` (and `scan` when
 * they search with _5_bitscan0). Neither the sieve nor a question is
 * reentrant.
 */
typedef struct SieveWork {
    TableBlock* head;   /* first block of the table whose primes are used */
    uint64_t lowest;    /* smallest number covered by target */
    uint64_t prime;     /* the sieving prime being crossed off */
    TableBlock* target; /* the block being sieved */
    uint64_t scan;      /* table-wide position where the next search resumes */
} SieveWork;

/* The one work record of the sieve. */
Q64_API extern SieveWork sieveWork;

/* Crosses off the small primes 11 .. 199 in target; sets lowest. Returns 0. */
Q64_API int64_t _5_setflg0(void);
/* Crosses off in target the primes recorded in head's bitmap (that block
 * only): the pass of a new one-block table. Returns 0. */
Q64_API int64_t _5_setflg1(void);
/* The same with the primes of the whole chain from head: the pass of a block
 * appended to a chain. Returns 0. */
Q64_API int64_t _5_setflg2(void);
/* Crosses off the multiples of `prime` in target from the first one at or
 * above `lowest` (from 2 * prime when prime >= lowest) and returns 0; returns
 * 1 without marking when prime^2 overflows or is at least target's limit. */
Q64_API int64_t _5_prmflg0(void);
/* Table-wide position of the first clear bit at or after `scan`, searching the
 * chain from `head`; -1 when there is none. */
Q64_API int64_t _5_bitscan0(void);

#ifdef __cplusplus
static_assert(sizeof(SieveWork) == 5 * sizeof(uint64_t), "SieveWork is a record of whole words");
#else
_Static_assert(sizeof(SieveWork) == 5 * sizeof(uint64_t), "SieveWork is a record of whole words");
#endif

/* Statistics of a prime table, walked from its first block (never null). */
/* Total words of all blocks, header and link words included. */
Q64_API int64_t _5_prmtqsize(const TableBlock* head);
/* Primes below the table's limit: the 46 below 211 plus the clear bits (read
 * from the prime-count index when the library keeps one for the table). */
Q64_API int64_t _5_prmtcnt(const TableBlock* head);
/* The largest prime the table holds (high word 0). */
Q64_API Q2Value _5_prmtmax(const TableBlock* head);

/* Extending the prime table by a block appended to its chain. */
/* Links the `words`-word block at the end of the chain from `head`, gives it
 * lastIndex words - 1, the next baseWord and its limit, sieves it with the
 * small primes and the primes the chain records (the new block's own
 * included), and copies its limit into head's, which thus stays the limit of
 * the whole table. The block belongs to the chain from then on. Returns 0;
 * -1 when words < 5, and nothing is changed then. Uses sieveWork. */
Q64_API int64_t _5_prmexpd(uint64_t words, TableBlock* block, TableBlock* head);

/* Controls of the long runs: the table builds, and the counts, lists and
 * prime counts beyond the table. */
/* A progress hook: called on the calling thread between pieces of a long
 * run with how much of it is done, in the run's own units (done <= total);
 * a nonzero answer stops the run, which then returns its failure value. */
typedef int (*Q64Progress)(uint64_t done, uint64_t total, void* context);
/* Sets the hook of the runs that report progress (null: none) with the
 * context it is called with, and returns 0. */
Q64_API int64_t _5_prmprogress(Q64Progress hook, void* context);
/* Caps the threads of every later run at `cap` (0: every hardware thread the
 * process may use, its CPU affinity and cgroup quota respected) and returns
 * how many the next run will use. The answers never depend on it. */
Q64_API uint64_t _5_prmthreads(uint64_t cap);

/* The primes of any interval below 2^64, sieved without the table: segments
 * of [a, b] crossed off by the primes up to sqrt(b), which the routines
 * generate themselves; work memory grows with their number (8 bytes per
 * prime above half a million, per thread: 1.3 GB near 2^64). Both run on
 * the threads _5_prmthreads allows (fewer when the machine cannot back
 * their memory), report progress to the hook of _5_prmprogress in
 * bitmap bytes (48 bits per 210 numbers) between segments, and are not
 * reentrant. The answers never depend on the thread count. */
/* Receives a batch of primes in ascending order; a nonzero answer stops the run. */
typedef int (*Q64PrimeSink)(const uint64_t* primes, uint64_t count, void* context);
/* The number of primes p with a <= p <= b (b < 2^64); all ones when a > b,
 * when memory was refused, or when the progress hook stopped the run. */
Q64_API uint64_t _5_prmcount(uint64_t a, uint64_t b);
/* Delivers the primes of [a, b] to `sink` in ascending order, batch by
 * batch (on the calling thread); 0 when all were delivered, 1 when the sink
 * or the progress hook stopped the run, -1 when a > b or memory was
 * refused (nothing delivered then). */
Q64_API int64_t _5_prmeach(uint64_t a, uint64_t b, Q64PrimeSink sink, void* context);

#ifdef __cplusplus
}
#endif
