/* Module _5_, the prime questions: primality, the n-th prime, next primes and
 * the factorisation, answered from a prime table, and (the routines ending
 * in x) primality, factorisation and next primes for every number below
 * 2^128 without one. */
#pragma once

#include "q64/base.h"
#include "q64/m5_primetable.h"

#ifdef __cplusplus
extern "C" {
#endif

/* FactorList: the result record of the prime factorisation, 256 words.
 *
 * Word 0, the header: bits 0-30 the number s of factor entries, bits 32-47
 * the number of 128-bit cofactors (0 or 1), bits 56-63 all ones once the list
 * is started (an empty list reads 0xFF00000000000000). Words 1 .. s: the prime
 * factors below 2^64 in ascending order, each repeated as often as it divides
 * the number. Words s + 1 and s + 2: the cofactor, a prime of 2^64 or more, as
 * a Q2Value (low word, high word) when the cofactor count is 1. A 128-bit
 * number has at most 127 prime factors, so the words never run out.
 */
typedef struct FactorList {
    uint64_t header;
    uint64_t word[255]; /* word[i] is word i + 1 of the record */
} FactorList;

#define FACTOR_LIST_WORDS 256
#define FACTOR_LIST_STARTED UINT64_C(0xFF00000000000000)
#define FACTOR_LIST_COUNT_MASK UINT64_C(0x7FFFFFFF)
#define FACTOR_LIST_COFACTOR_SHIFT 32
#define FACTOR_LIST_COFACTOR_MASK UINT64_C(0xFFFF)

/* s, the number of factor entries. */
static inline uint64_t factorCount(const FactorList* list) {
    return list->header & FACTOR_LIST_COUNT_MASK;
}
/* The number of 128-bit cofactors, 0 or 1. */
static inline uint64_t cofactorCount(const FactorList* list) {
    return (list->header >> FACTOR_LIST_COFACTOR_SHIFT) & FACTOR_LIST_COFACTOR_MASK;
}

#ifdef __cplusplus
static_assert(sizeof(FactorList) == FACTOR_LIST_WORDS * sizeof(uint64_t));
#endif

/* The text of a factorisation, such as 2^3 * 3^2 * 5 for 360. */
/* Writes the text of the list into buf (256 bytes hold the text of any
 * 128-bit number) and returns buf. A list of one prime (s plus the cofactor
 * count is 1) gives only the marker "!" and a NUL. */
Q64_API char* _5_prmfctput(char* buf, const FactorList* list);
/* Writes the factors joined by " * ", each with "^" and its multiplicity when
 * that exceeds 1, the cofactor (if any) last, and a NUL. An empty list gives
 * the empty text. Returns 0. */
Q64_API int64_t _5_prmfctpp(char* buf, const FactorList* list);
/* Writes run[0] in decimal and, when len > 1, "^" and len; returns the
 * position after the text (no NUL is written). */
Q64_API char* _5_cvtfctn(const uint64_t* run, uint64_t len, char* out);

/* Prime factorisation with the table's primes. */
/* Factorises n into `list` (started afresh) and returns s plus the cofactor
 * count (1: n is prime). Returns -1 for n < 2 (list untouched) and when n
 * cannot be factorised with the table: when the part of n left after all its
 * prime factors below P (the table's largest prime) exceeds P^2; the list
 * then holds the prime factors of n up to P. */
Q64_API int64_t _5_prmfct(FactorList* list, uint64_t lo, uint64_t hi, const TableBlock* head);
/* The smallest table prime above d: from the small primes below 211, from
 * the bitmap below the table's limit E; all ones when there is none
 * (d >= P). */
Q64_API uint64_t _5_prmfctnext(uint64_t d, const TableBlock* head);
/* Divides *rest by d as often as it goes and returns how often (0 for
 * d < 2). */
Q64_API uint64_t _5_divprm(Q2Value* rest, uint64_t d);
/* _5_divprm for d = 2: one count of trailing zero bits (0 for rest 0). */
Q64_API uint64_t _5_divprm2(Q2Value* rest);
/* Appends d e times to the list being built (the list of the running
 * _5_prmfct, kept in the work record); returns the new entry count s. */
Q64_API uint64_t _5_prmelmt(uint64_t e, uint64_t d);

/* The next prime above a number (the prime search and the source of trial
 * divisors). Failure is the Q2Value with both words all ones. */
/* Stores the smallest prime above *number in *result and returns 0; returns
 * -1 with *result untouched when _5_prmnext fails. */
Q64_API int64_t _5_prmnxnum(Q2Value* result, const Q2Value* number, const TableBlock* head);
/* The smallest prime above n: from the small primes below 211, from the
 * bitmap below the table's limit E, else by trial division with the table's
 * primes; fails when n >= E^2 or when no prime lies between n and P^2 (P the
 * table's largest prime). */
Q64_API Q2Value _5_prmnext(uint64_t lo, uint64_t hi, const TableBlock* head);
/* For 211 <= n < E: the smallest prime above n in the bitmap, or failure when
 * no clear bit follows n's position. */
Q64_API Q2Value _5_prmtnext(uint64_t n, const TableBlock* head);
/* The first number x above n that is prime to 210, below P^2 and divisible
 * by no table prime from 11 up to the prime before P; failure when the next
 * such candidate reaches P^2 first. Above P that is the next prime. */
Q64_API Q2Value _5_prmttnext(uint64_t lo, uint64_t hi, const TableBlock* head);
/* The smallest number above n that is prime to 210 (modulo 2^128). */
Q64_API Q2Value _5_prmnmnte(uint64_t lo, uint64_t hi);
/* For the candidate, table and bound B held in the work record (as
 * _5_prmttnext leaves them, B = P^2): the smallest prime dividing the
 * candidate among 11 and the primes d >= 13 with d^2 < B, that is the table
 * primes from 11 up to the one before P; 0 when none does. */
Q64_API uint64_t _5_prmchknum(void);

/* The n-th prime (the first prime being 2). */
/* The n-th prime: n <= 46 from the small primes, else by counting the clear
 * bits of the bitmap (inside one 64 KB segment when the library keeps a
 * prime-count index of the table: one built by _5_prmnew and _5_prmexpd in
 * the platform's blocks). All ones when the table ends before it, and for
 * n = 0 (there is no 0-th prime). */
Q64_API uint64_t _5_prmnoth(uint64_t n, const TableBlock* head);

/* The primality test. Results: 0 prime, 1 not prime, -1 cannot be decided
 * with the table (or 0 and 1, which are neither). */
/* Numbers up to 210 from the small primes, numbers below the table's limit E
 * from the bitmap, the others by _5_primetst2. */
Q64_API int64_t _5_primetst(uint64_t lo, uint64_t hi, const TableBlock* head);
/* The trial-division answer: 1 when 2, 3, 5 or 7 divides n; -1 above E^2;
 * 1 for E^2; else 1 for a composite n (and for 11), 0 for a prime below
 * P^2 (P the table's largest prime) and for 1, -1 for a prime above P^2. */
Q64_API int64_t _5_primetst2(uint64_t lo, uint64_t hi, const TableBlock* head);

/* Every number below 2^128, without a table. Proven answers: a number is
 * called prime only after a certificate of its primality has been checked
 * (below 2^64 by a test that is exact there), composite only with a witness.
 * Work memory is static or on the call stack, never the heap; like the rest
 * of the library these routines are not reentrant (one call at a time). */
/* Primality of n: 0 prime, 1 composite, -1 for 0 and 1 (neither). */
Q64_API int64_t _5_primetstx(uint64_t lo, uint64_t hi);
/* The same without the certificate, for callers who take a probable prime:
 * below 2^64 exact; from 2^64 on 1 only with a witness of compositeness, and
 * 0 for every number that passes Baillie–PSW (no composite is known to pass
 * it, but it is not proven). -1 for 0 and 1. */
Q64_API int64_t _5_prmprobx(uint64_t lo, uint64_t hi);
/* The complete factorisation of n into `list` (started afresh, the layout
 * of _5_prmfct: the prime factors below 2^64 ascending with multiplicity,
 * then the one prime factor of 2^64 or more, if any, as the cofactor).
 * Returns s plus the cofactor count (1: n is prime); -1 for n < 2 (list
 * untouched). Every factor is proven prime. */
Q64_API int64_t _5_prmfctx(FactorList* list, uint64_t lo, uint64_t hi);
/* The smallest prime above n; failure (both words all ones) when there is
 * none below 2^128, that is for n >= 2^128 - 159, the largest prime. */
Q64_API Q2Value _5_prmnextx(uint64_t lo, uint64_t hi);
/* The largest prime below n; failure (both words all ones) for n <= 2. */
Q64_API Q2Value _5_prmprevx(uint64_t lo, uint64_t hi);

/* Counting primes without a table, by the combinatorial method of
 * Deleglise and Rivat (special leaves sieved segment by segment, on the
 * threads _5_prmthreads allows; the answers never depend on their number).
 * Work memory comes from the platform layer (about 16 bytes per 240 numbers
 * up to sqrt(x), and 4 bytes per 7.5 numbers up to y ~ x^(1/3) times a small
 * factor); the progress hook (_5_prmprogress) is consulted between pieces. */
/* The number of primes <= x, for every x < 2^64; all ones when memory was
 * refused or the progress hook stopped the run. Not reentrant. */
Q64_API uint64_t _5_prmpi(uint64_t x);
/* The number of primes below 2^64, pi(2^64 - 1): the largest k of _5_prmnthx. */
#define PRIMES_BELOW_2_64 UINT64_C(425656284035217743)
/* The k-th prime (2 is the first) for 1 <= k <= PRIMES_BELOW_2_64 (its
 * prime is below 2^64); all ones for k = 0, a larger k, refused memory or a
 * stop by the progress hook. Not reentrant. */
Q64_API uint64_t _5_prmnthx(uint64_t k);

#ifdef __cplusplus
}
#endif
