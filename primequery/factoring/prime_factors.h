// The prime factors of a number below 2^128, with multiplicity (internal,
// C++ only). A number below 2^128 has at most 127 of them.
#pragma once

#include "numlib/m0_utilities/u128.h"
#include "platform/precondition.h"

namespace factoring {

using wordmath::u128;

struct PrimeFactors {
    static constexpr unsigned kCapacity = 128;
    u128 prime[kCapacity];
    unsigned count = 0;

    void add(u128 p, unsigned times) {
        Q64_ASSERT(count + times <= kCapacity);
        for (unsigned i = 0; i < times; ++i) prime[count++] = p;
    }
    // Ascending order (insertion sort: a few dozen entries at most).
    void sort() {
        for (unsigned i = 1; i < count; ++i) {
            const u128 p = prime[i];
            unsigned j = i;
            for (; j > 0 && prime[j - 1] > p; --j) prime[j] = prime[j - 1];
            prime[j] = p;
        }
    }
};

}  // namespace factoring
