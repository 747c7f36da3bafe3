// PetaCache: powers (10^16)^k for k > 32, built once and then found by a linear
// walk over the entries.
#include "numlib/m3_petapowers/peta_cache.h"
#include "profiler/hook.h"
#include "q64/m3_petapowers.h"

extern "C" {
uint64_t PetaCache[PETA_CACHE_WORDS] = {PETA_CACHE_WORDS};
}

namespace {
constexpr uint64_t kLow32 = 0xFFFFFFFFu;
inline uint64_t capacity() { return PetaCache[0] & kLow32; }
inline uint64_t inUse() { return PetaCache[0] >> 32; }
inline void setInUse(uint64_t words) { PetaCache[0] = (words << 32) | capacity(); }
}  // namespace

extern "C" const uint64_t* _3_petaddr(uint64_t k) {
    PRF_ENTER(_3_petaddr);
    if (k <= 32) return _3_peta(k);
    // An entry header holds k in 32 bits; such powers never fit anyway.
    if (k > kLow32) return nullptr;
    const uint64_t end = 1 + inUse();
    for (uint64_t at = 1; at < end; at += 1 + (PetaCache[at] & kLow32)) {
        if ((PetaCache[at] >> 32) == k) return &PetaCache[at + 1];
    }
    const uint64_t q = _3_petaqw(k);
    if (q + 3 >= capacity()) return nullptr;
    // Two words stay free beyond the entry: the unreduced product of the last
    // multiplication step is one word longer than the entry.
    if (q + 3 >= capacity() - inUse()) setInUse(0);
    const uint64_t at = 1 + inUse();
    PetaCache[at] = (k << 32) | q;
    setInUse(inUse() + q + 1);
    _3_mkpeta(&PetaCache[at + 1], k);
    return &PetaCache[at + 1];
}
