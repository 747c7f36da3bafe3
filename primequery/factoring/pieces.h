// The parts of a number still to be factored, each with its multiplicity
// (internal, C++ only), and the one step that takes a part apart: a prime
// part is handed on, a perfect power is replaced by its root, any other
// part is split in two.
#pragma once

#include "numlib/m0_utilities/prime_test64.h"
#include "primequery/factoring/factor_engine.h"
#include "primequery/factoring/perfect_power.h"
#include "primequery/proof/proven_prime.h"

namespace factoring {

struct Pieces {
    // Parts of 2^16 or more of a number below 2^128: at most eight at once.
    static constexpr unsigned kCapacity = 16;
    u128 value[kCapacity];
    unsigned times[kCapacity];
    unsigned count = 0;
    uint64_t smallest;  // no part has a prime factor below it (2^16 or more)
    explicit Pieces(uint64_t noFactorBelow) : smallest(noFactorBelow) {}
    void push(u128 v, unsigned t) {
        Q64_ASSERT(count < kCapacity);
        value[count] = v;
        times[count] = t;
        ++count;
    }
};

// Takes the last part (the pieces must not be empty): onPrime(p, times) for
// a prime, else its root or its two factors go back. Every part is above 1
// and has no prime factor below `smallest`.
template <class OnPrime>
void takePiece(Pieces* pieces, OnPrime onPrime) {
    --pieces->count;
    const u128 v = pieces->value[pieces->count];
    const unsigned t = pieces->times[pieces->count];
    if (wordmath::hi64(v) == 0 ? wordmath::isPrime64(wordmath::lo64(v)) : proof::isPrime128(v)) {
        onPrime(v, t);
        return;
    }
    u128 root;
    const unsigned k = perfectPower(v, pieces->smallest, &root);
    if (k > 1) {
        pieces->push(root, t * k);
        return;
    }
    const u128 d = splitComposite(v);
    pieces->push(v / d, t);
    pieces->push(d, t);
}

}  // namespace factoring
