// Random 128-bit numbers, decimal text and GMP as an independent oracle.
#pragma once

#include <gmp.h>

#include <cstdint>
#include <random>
#include <string>

namespace testnum {

using u128 = unsigned __int128;

inline u128 make(uint64_t lo, uint64_t hi) { return (static_cast<u128>(hi) << 64) | lo; }

inline std::string dec(u128 x) {
    if (x == 0) return "0";
    std::string s;
    while (x != 0) {
        s.insert(s.begin(), static_cast<char>('0' + static_cast<int>(x % 10)));
        x /= 10;
    }
    return s;
}

// Uniform in [lo, hi), hi > lo.
inline u128 between(std::mt19937_64& gen, u128 lo, u128 hi) {
    u128 span = hi - lo;
    u128 r = make(gen(), gen());
    return lo + r % span;
}

// A number of `bits` bits (top bit set) made of long runs of ones and zeros.
inline u128 runs(std::mt19937_64& gen, int bits) {
    u128 x = 0;
    int pos = 0;
    bool one = true;
    while (pos < bits) {
        int len = 1 + static_cast<int>(gen() % 24);
        for (int i = 0; i < len && pos < bits; ++i, ++pos) x = (x << 1) | (one ? 1 : 0);
        one = !one;
    }
    return x | (static_cast<u128>(1) << (bits - 1));
}

class Mpz {
public:
    Mpz() { mpz_init(z_); }
    explicit Mpz(u128 x) : Mpz() { set(x); }
    ~Mpz() { mpz_clear(z_); }
    Mpz(const Mpz&) = delete;
    Mpz& operator=(const Mpz&) = delete;
    void set(u128 x) {
        uint64_t words[2] = {static_cast<uint64_t>(x), static_cast<uint64_t>(x >> 64)};
        mpz_import(z_, 2, -1, sizeof(uint64_t), 0, 0, words);
    }
    u128 get() const {
        uint64_t words[2] = {0, 0};
        size_t count = 0;
        mpz_export(words, &count, -1, sizeof(uint64_t), 0, 0, z_);
        return make(words[0], words[1]);
    }
    mpz_ptr ptr() { return z_; }

private:
    mpz_t z_;
};

inline bool gmpPrime(u128 x) {
    Mpz z(x);
    return mpz_probab_prime_p(z.ptr(), 40) != 0;
}

// The smallest prime above x (x + below 2^128 minus the gap).
inline u128 gmpNextPrime(u128 x) {
    Mpz z(x);
    mpz_nextprime(z.ptr(), z.ptr());
    return z.get();
}

}  // namespace testnum
