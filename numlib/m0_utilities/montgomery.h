// Montgomery arithmetic modulo an odd n, with R = 2^64 for n below 2^64
// (Mont64) and R = 2^128 for larger n (Mont128) (internal, C++ only).
// Residues are kept in Montgomery form x * R mod n, fully reduced (below n).
#pragma once

#include <cstdint>

#include "numlib/m0_utilities/u128.h"

namespace wordmath {

// The double-width product a * b as (hi, lo).
inline void mulWide(uint64_t a, uint64_t b, uint64_t* hi, uint64_t* lo) {
    u128 p = static_cast<u128>(a) * b;
    *hi = hi64(p);
    *lo = lo64(p);
}
inline void mulWide(u128 a, u128 b, u128* hi, u128* lo) {
    u128 a0 = lo64(a), a1 = hi64(a), b0 = lo64(b), b1 = hi64(b);
    u128 p00 = a0 * b0, p01 = a0 * b1, p10 = a1 * b0, p11 = a1 * b1;
    u128 mid = (p00 >> 64) + lo64(p01) + lo64(p10);
    *lo = (mid << 64) | lo64(p00);
    *hi = p11 + hi64(p01) + hi64(p10) + hi64(mid);
}

// e ? b : a for e = 0 or 1, without a branch.
template <class Word>
inline Word selectWord(Word e, Word a, Word b) {
    return a ^ ((a ^ b) & (Word{0} - e));
}

// Word is uint64_t (n odd, n >= 3) or u128 (n odd, 2^64 <= n < 2^128).
template <class Word>
class Montgomery {
public:
    static constexpr int kBits = 8 * sizeof(Word);

    explicit Montgomery(Word n) : n_(n) {
        // Newton's iteration doubles the correct low bits of n^-1 each step.
        Word inv = n;  // correct to 3 bits for odd n
        for (int bits = 3; bits < kBits; bits *= 2) inv *= 2 - n * inv;
        inv_ = inv;
        one_ = (0 - n) % n;  // R mod n = (R - n) mod n
        if constexpr (kBits == 64) {
            r2_ = static_cast<uint64_t>(static_cast<u128>(one_) * one_ % n);
        } else {
            // R^2 mod n by doubling R mod n 128 times.
            Word r2 = one_;
            for (int i = 0; i < kBits; ++i) r2 = add(r2, r2);
            r2_ = r2;
        }
    }
    Word modulus() const { return n_; }
    Word one() const { return one_; }
    Word to(Word x) const { return mul(x % n_, r2_); }
    Word from(Word x) const { return reduce(0, x); }
    Word mul(Word a, Word b) const {
        Word hi, lo;
        mulWide(a, b, &hi, &lo);
        return reduce(hi, lo);
    }
    // a^2 (the cross product is formed once).
    Word square(Word a) const {
        if constexpr (kBits == 64) {
            return mul(a, a);
        } else {
            const uint64_t a0 = lo64(a), a1 = hi64(a);
            const u128 p00 = static_cast<u128>(a0) * a0, p01 = static_cast<u128>(a0) * a1,
                       p11 = static_cast<u128>(a1) * a1;
            // a^2 = p11 2^128 + 2 p01 2^64 + p00
            const u128 mid = (p00 >> 64) + (p01 << 1);  // wraps: its lost bit is p01's top bit
            const u128 lo = (mid << 64) | lo64(p00);
            const u128 carries = (p01 >> 127) + static_cast<u128>(mid < (p01 << 1));
            const u128 hi = p11 + hi64(mid) + (carries << 64);
            return reduce(hi, lo);
        }
    }
    // a b - c for c < n, in Montgomery form: c is taken from the high word of
    // the product before the reduction, off the chain of dependent products.
    Word mulSub(Word a, Word b, Word c) const {
        Word hi, lo;
        mulWide(a, b, &hi, &lo);
        return reduce(sub(hi, c), lo);
    }
    // a^2 2^e for e = 0 or 1, in Montgomery form. The doubling rides on the
    // reduction: 2T - (2m mod R) n has the low word 0, and the doubled high
    // word is formed beside the product m n, off the chain.
    Word squareDoubled(Word a, Word e) const {
        Word hi, lo;
        mulWide(a, a, &hi, &lo);
        // high = 2 hi + (top bit of lo) mod n for e = 1, hi for e = 0.
        const Word carry = e & (lo >> (kBits - 1));
        const Word sum = hi + (hi & (Word{0} - e)) + carry;  // wraps past 2^bits
        const Word wrapped = e & (hi >> (kBits - 1));
        const Word high = sum - (n_ & (Word{0} - (wrapped | static_cast<Word>(sum >= n_))));
        Word mnHi, mnLo;
        mulWide((lo * inv_) << e, n_, &mnHi, &mnLo);
        return sub(high, mnHi);
    }
    // Sums and differences without a branch: the operands are data, and a
    // mispredicted branch costs more than the masking.
    Word add(Word a, Word b) const { return sub(a, n_ - b); }
    Word sub(Word a, Word b) const { return a - b + (n_ & (Word{0} - static_cast<Word>(a < b))); }
    Word pow(Word base, Word e) const {
        Word result = one_;
        while (e) {
            if (e & 1) result = mul(result, base);
            base = mul(base, base);
            e >>= 1;
        }
        return result;
    }

private:
    // (hi:lo) / R mod n for hi < n: ((hi:lo) - m n) / R with m = lo n^-1
    // mod R; the low words of (hi:lo) and m n agree, so only the high words
    // are subtracted.
    Word reduce(Word hi, Word lo) const {
        Word mnHi, mnLo;
        mulWide(lo * inv_, n_, &mnHi, &mnLo);
        return sub(hi, mnHi);
    }

    Word n_, inv_, one_, r2_;
};

using Mont64 = Montgomery<uint64_t>;
using Mont128 = Montgomery<u128>;

}  // namespace wordmath
