// The stage-1 multipliers, computed the first time they are asked: each is
// grown by multiplying a little-endian word array by one prime power at a
// time.
#include "primequery/factoring/ecm_multipliers.h"

namespace factoring {
namespace {

constexpr int kMaxWords = 256;  // 1.44 * 11000 bits fit in 248 words

constexpr uint32_t kLargestB1 = kEcmB1[kEcmLevels - 1];

// The primes up to the largest bound, by a sieve at compile time.
struct SmallPrimes {
    bool composite[kLargestB1 + 1] = {true, true};
    constexpr SmallPrimes() {
        for (uint32_t p = 2; p * p <= kLargestB1; ++p)
            if (!composite[p])
                for (uint32_t m = p * p; m <= kLargestB1; m += p) composite[m] = true;
    }
};
constexpr SmallPrimes kSmallPrimes;

struct Scalars {
    uint64_t words[kEcmLevels][kMaxWords] = {};
    int bits[kEcmLevels] = {};
    Scalars() {
        for (int level = 0; level < kEcmLevels; ++level) build(level);
    }
    // words[level] *= p^k (p^k <= B1 < p^(k+1)) for each prime p up to B1.
    void build(int level) {
        const uint32_t b1 = kEcmB1[level];
        uint64_t* w = words[level];
        int used = 1;
        w[0] = 1;
        for (uint32_t p = 2; p <= b1; ++p) {
            if (kSmallPrimes.composite[p]) continue;
            uint64_t power = p;
            while (power * p <= b1) power *= p;
            unsigned __int128 carry = 0;
            for (int i = 0; i < used; ++i) {
                carry += static_cast<unsigned __int128>(w[i]) * power;
                w[i] = static_cast<uint64_t>(carry);
                carry >>= 64;
            }
            if (carry != 0) w[used++] = static_cast<uint64_t>(carry);
        }
        int top = 64 * used;
        while (((w[(top - 1) / 64] >> ((top - 1) % 64)) & 1) == 0) --top;
        bits[level] = top;
    }
};

const Scalars& scalars() {
    static const Scalars table;  // static storage, built on the first call
    return table;
}

}  // namespace

EcmScalar ecmScalar(int level) { return EcmScalar{scalars().words[level], scalars().bits[level]}; }

}  // namespace factoring
