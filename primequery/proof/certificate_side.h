// One side of a certificate under construction (internal, C++ only): the
// known primes of n - 1 or n + 1 with their product F, and the parts of the
// number not yet in F: composite ones, and probable primes of 2^64 or more
// that must be proven before they may join F.
#pragma once

#include "primequery/factoring/pieces.h"
#include "primequery/proof/prime_certificate.h"

namespace proof {

class Side {
public:
    enum class Finish { kPrime, kComposite, kNotEnough };

    // Strips n -+ 1 (sign -1 or +1) of the factor 2 and the odd primes
    // below 2^16 and sorts what is left into the parts.
    Side(u128 n, int sign);

    // Whether F is large enough for the side's theorem.
    bool enough() const;
    // `curves` curves of `level` on every composite part; factors found are
    // sorted into the parts.
    void ecmRound(int level, int curves);
    // Proves the probable primes when F times them would be enough; whether
    // it did.
    bool proveProbableIfEnough();
    // Proves every probable prime (one that is not goes to the composites).
    void proveProbable();
    // Splits the smallest composite part (the complete methods).
    void splitSmallest();
    // Chooses the witnesses (side -1) or P (side +1) until the check passes.
    Finish finish();

    const PrimeCertificate& certificate() const { return c_; }
    const factoring::Pieces& composites() const { return composites_; }
    bool hasProbable() const { return probable_.count > 0; }

private:
    void place(u128 v, unsigned times);
    void addPrime(u128 q, unsigned times);
    void takeComposite(unsigned index, u128 factor);

    PrimeCertificate c_;
    u128 f_ = 1;
    uint64_t sigma_;
    factoring::Pieces composites_, probable_;
};

}  // namespace proof
