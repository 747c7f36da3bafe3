// The next number prime to 210.
#include "numlib/m0_utilities/u128.h"
#include "primetable/wheel.h"
#include "profiler/hook.h"
#include "q64/m5_primequery.h"

using wordmath::u128;

// q 210 + WheelResidues[k] with k the index of the first residue above n mod
// 210 (48: the first residue of the next period). Computed modulo 2^128, so
// the numbers from 2^128 - 45 up wrap around to small values.
extern "C" Q2Value _5_prmnmnte(uint64_t lo, uint64_t hi) {
    PRF_ENTER(_5_prmnmnte);
    uint64_t r;
    u128 q = wordmath::divmod64(wordmath::toU128(lo, hi), wheel::kModulus, &r);
    uint64_t k = WheelIndex[r] & 0xFFFFFFFFu;
    if (k == wheel::kSpokes) {
        q += 1;
        k = 0;
    }
    return wordmath::toQ2(q * wheel::kModulus + WheelResidues[k]);
}
