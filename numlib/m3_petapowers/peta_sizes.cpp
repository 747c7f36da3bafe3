// Word and bit counts of powers of 10^16, each one fixed-point product.
#include "numlib/m3_petapowers/peta_sizes.h"
#include "profiler/hook.h"
#include "q64/m3_petapowers.h"

extern "C" uint64_t _3_petabitl(uint64_t k) {
    PRF_ENTER(_3_petabitl);
    return peta::bitLength(k);
}

extern "C" uint64_t _3_petaqwl(uint64_t k) {
    PRF_ENTER(_3_petaqwl);
    return peta::wordLength(k);
}

extern "C" uint64_t _3_petaqw(uint64_t k) {
    PRF_ENTER(_3_petaqw);
    return peta::reducedLength(k);
}

extern "C" uint64_t _3_bitpetal(uint64_t b) {
    PRF_ENTER(_3_bitpetal);
    return peta::digitsOfBits(b);
}
