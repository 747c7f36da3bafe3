// Montgomery arithmetic modulo an odd n, with R = 2^64 for n below 2^64 and
// R = 2^128 for larger n (internal, C++ only). Residues are kept in
// Montgomery form x * R mod n, fully reduced (below n).
#pragma once

#include <cstdint>

#include "primequery/u128.h"

namespace primequery {

// n odd, n >= 3.
class Mont64 {
public:
    explicit Mont64(uint64_t n) : n_(n) {
        // Newton's iteration doubles the correct low bits of n^-1 each step.
        uint64_t inv = n;  // correct to 3 bits for odd n
        for (int i = 0; i < 5; ++i) inv *= 2 - n * inv;
        inv_ = inv;
        uint64_t r = static_cast<uint64_t>((static_cast<u128>(1) << 64) % n);
        one_ = r;
        r2_ = static_cast<uint64_t>(static_cast<u128>(r) * r % n);
    }
    uint64_t modulus() const { return n_; }
    uint64_t one() const { return one_; }
    uint64_t to(uint64_t x) const { return mul(x % n_, r2_); }
    uint64_t from(uint64_t x) const { return reduce(x); }
    uint64_t mul(uint64_t a, uint64_t b) const { return reduce(static_cast<u128>(a) * b); }
    uint64_t add(uint64_t a, uint64_t b) const {
        uint64_t s = a + b;
        return (s < a || s >= n_) ? s - n_ : s;
    }
    uint64_t sub(uint64_t a, uint64_t b) const { return a >= b ? a - b : a - b + n_; }
    uint64_t pow(uint64_t base, uint64_t e) const {
        uint64_t result = one_;
        while (e) {
            if (e & 1) result = mul(result, base);
            base = mul(base, base);
            e >>= 1;
        }
        return result;
    }

private:
    // t / R mod n for t < n * R: (t - m n) / R with m = t n^-1 mod R; the low
    // words of t and m n agree, so only the high words are subtracted.
    uint64_t reduce(u128 t) const {
        uint64_t m = lo64(t) * inv_;
        uint64_t mnHi = hi64(static_cast<u128>(m) * n_);
        uint64_t tHi = hi64(t);
        return tHi >= mnHi ? tHi - mnHi : tHi - mnHi + n_;
    }

    uint64_t n_, inv_, one_, r2_;
};

// n odd, 2^64 <= n < 2^128.
class Mont128 {
public:
    explicit Mont128(u128 n) : n_(n) {
        u128 inv = n;
        for (int i = 0; i < 6; ++i) inv *= 2 - n * inv;
        inv_ = inv;
        // R mod n = (2^128 - n) mod n, since n > 2^64 leaves no overflow.
        u128 r = (0 - n) % n;
        one_ = r;
        // R^2 mod n by doubling R mod n 128 times.
        u128 r2 = r;
        for (int i = 0; i < 128; ++i) r2 = add(r2, r2);
        r2_ = r2;
    }
    u128 modulus() const { return n_; }
    u128 one() const { return one_; }
    u128 to(u128 x) const { return mul(x % n_, r2_); }
    u128 from(u128 x) const {
        return reduce(0, x);
    }
    u128 mul(u128 a, u128 b) const {
        u128 hi, lo;
        mul256(a, b, &hi, &lo);
        return reduce(hi, lo);
    }
    u128 add(u128 a, u128 b) const {
        u128 s = a + b;
        return (s < a || s >= n_) ? s - n_ : s;
    }
    u128 sub(u128 a, u128 b) const { return a >= b ? a - b : a - b + n_; }
    u128 pow(u128 base, u128 e) const {
        u128 result = one_;
        while (e) {
            if (e & 1) result = mul(result, base);
            base = mul(base, base);
            e >>= 1;
        }
        return result;
    }

private:
    static void mul256(u128 a, u128 b, u128* hi, u128* lo) {
        u128 a0 = lo64(a), a1 = hi64(a), b0 = lo64(b), b1 = hi64(b);
        u128 p00 = a0 * b0, p01 = a0 * b1, p10 = a1 * b0, p11 = a1 * b1;
        u128 mid = (p00 >> 64) + lo64(p01) + lo64(p10);
        *lo = (mid << 64) | lo64(p00);
        *hi = p11 + hi64(p01) + hi64(p10) + hi64(mid);
    }
    // (hi:lo) / R mod n for (hi:lo) < n R.
    u128 reduce(u128 hi, u128 lo) const {
        u128 m = lo * inv_;
        u128 mnHi, mnLo;
        mul256(m, n_, &mnHi, &mnLo);
        return hi >= mnHi ? hi - mnHi : hi - mnHi + n_;
    }

    u128 n_, inv_, one_, r2_;
};

}  // namespace primequery
