// The stage-1 multipliers, computed at compile time: each is grown by
// multiplying a little-endian word array by one prime power at a time.
#include "primequery/factoring/ecm_multipliers.h"

namespace factoring {
namespace {

constexpr int kMaxWords = 256;  // 1.44 * 11000 bits fit in 248 words

struct Scalars {
    uint64_t words[kEcmLevels][kMaxWords];
    int bits[kEcmLevels];
};

constexpr uint32_t kLargestB1 = kEcmB1[kEcmLevels - 1];

constexpr Scalars makeScalars() {
    Scalars s{};
    bool composite[kLargestB1 + 1] = {true, true};
    for (uint32_t p = 2; p * p <= kLargestB1; ++p)
        if (!composite[p])
            for (uint32_t m = p * p; m <= kLargestB1; m += p) composite[m] = true;
    for (int level = 0; level < kEcmLevels; ++level) {
        const uint32_t b1 = kEcmB1[level];
        uint64_t* w = s.words[level];
        int used = 1;
        w[0] = 1;
        for (uint32_t p = 2; p <= b1; ++p) {
            if (composite[p]) continue;
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
        int bits = 64 * used;
        while (((w[(bits - 1) / 64] >> ((bits - 1) % 64)) & 1) == 0) --bits;
        s.bits[level] = bits;
    }
    return s;
}

constinit const Scalars kScalars = makeScalars();

}  // namespace

EcmScalar ecmScalar(int level) { return EcmScalar{kScalars.words[level], kScalars.bits[level]}; }

}  // namespace factoring
