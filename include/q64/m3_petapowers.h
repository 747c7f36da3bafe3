/* Powers of 10^16 ("peta") and size estimates (module _3_).
 *
 * A power (10^16)^k is handed out in reduced form: its floor(k/4) trailing zero
 * words (10^(16k) ends in 16k zero bits) are left out, the value words stand
 * most significant first, and the word in front of the first value word holds
 * their count q = _3_petaqw(k) in its low 31 bits. Powers up to k = 32 come
 * from the constant table PetaPowers; larger ones are built on demand into
 * PetaCache (peta_cache.h).
 */
#pragma once

#include "q64/base.h"

#ifdef __cplusplus
extern "C" {
#endif

/* First value word of (10^16)^k from PetaPowers for k <= 32; null above. */
Q64_API const uint64_t* _3_peta(uint64_t k);
/* First value word of (10^16)^k: PetaPowers for k <= 32, otherwise PetaCache,
 * building the entry when it is missing. Null when the entry can never fit
 * the cache (k >= 3521). A location from the cache stays valid only until a
 * later call empties the cache to make room. */
Q64_API const uint64_t* _3_petaddr(uint64_t k);
/* Writes (10^16)^k in reduced form to dst and returns its word count; dst
 * needs room for that count plus one word. Not reentrant for k > 32. */
Q64_API uint64_t _3_mkpeta(uint64_t* dst, uint64_t k);

/* Bit length of 10^(16k): floor(k * 16 log2 10) + 1, from a fixed-point
 * product (saturates at 2^64-1 for k beyond 3*10^17). */
Q64_API uint64_t _3_petabitl(uint64_t k);
/* Words of 10^(16k), hence of any number of k peta digits: ceil(bitl / 64).
 * _3_petaqwl(0) = 1. */
Q64_API uint64_t _3_petaqwl(uint64_t k);
/* Words of the reduced form: _3_petaqwl(k) - floor(k/4). */
Q64_API uint64_t _3_petaqw(uint64_t k);
/* Peta digits of 2^(b-1), the smallest b-bit number: floor((b-1) * log10(2)
 * / 16) + 1 (b = 0 is taken as 1). */
Q64_API uint64_t _3_bitpetal(uint64_t b);

#ifdef __cplusplus
}
#endif
