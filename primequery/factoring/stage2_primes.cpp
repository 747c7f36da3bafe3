// The bitmap of the odd primes below 2^20 (64 KB), sieved by the odd primes
// below 2^10 the first time it is asked.
#include "primequery/factoring/stage2_primes.h"

namespace factoring {
namespace {

constexpr uint32_t kWords = kStage2Limit / 128;  // one bit per odd number

struct OddPrimeBits {
    uint64_t composite[kWords] = {};
    OddPrimeBits() {
        composite[0] = 1;  // 1 is not prime
        for (uint32_t p = 3; p * p < kStage2Limit; p += 2) {
            if ((composite[p / 128] >> ((p / 2) % 64)) & 1) continue;
            for (uint32_t m = p * p; m < kStage2Limit; m += 2 * p) composite[m / 128] |= uint64_t{1} << ((m / 2) % 64);
        }
    }
};

const OddPrimeBits& bits() {
    static const OddPrimeBits table;  // static storage, built on the first call
    return table;
}

}  // namespace

bool oddIsPrime(uint32_t q) { return ((bits().composite[q / 128] >> ((q / 2) % 64)) & 1) == 0; }

}  // namespace factoring
