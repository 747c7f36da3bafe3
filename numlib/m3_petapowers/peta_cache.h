/* PetaCache: the 2048-word store of powers (10^16)^k for k > 32.
 *
 * Word 0: low 32 bits the capacity in words (2048, this header included),
 * high 32 bits the words in use after the header. Entries follow from word 1,
 * each a header word (k in the high 32 bits, the value's word count q in the
 * low 32 bits) and q value words in reduced form. When a new entry does not
 * fit the free words, the whole cache is emptied first.
 */
#pragma once

#include <stdint.h>

#define PETA_CACHE_WORDS 2048

#ifdef __cplusplus
extern "C" {
#endif

extern uint64_t PetaCache[PETA_CACHE_WORDS];

#ifdef __cplusplus
}
#endif
