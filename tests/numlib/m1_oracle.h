// Test support for the word-array routines: GMP as the oracle, and random
// operands shaped to find carry and borrow faults (long runs of zero and one
// bits, all-ones and zero words, leading zero words).
#pragma once

#include <gmp.h>

#include <cstdint>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace m1test {

using Words = std::vector<uint64_t>;  // most significant word first

// An mpz_t that frees itself.
class Mpz {
public:
    Mpz() { mpz_init(z_); }
    explicit Mpz(const Words& w) : Mpz(w.data(), w.size()) {}
    Mpz(const uint64_t* p, size_t n) {
        mpz_init(z_);
        mpz_import(z_, n, 1, sizeof(uint64_t), 0, 0, p);
    }
    Mpz(const Mpz&) = delete;
    Mpz& operator=(const Mpz&) = delete;
    ~Mpz() { mpz_clear(z_); }
    mpz_ptr get() { return z_; }
    mpz_srcptr get() const { return z_; }
    operator mpz_ptr() { return z_; }
    mpz_ptr operator->() { return z_; }  // for GMP's macros (mpz_sgn)
    mpz_srcptr operator->() const { return z_; }
    operator mpz_srcptr() const { return z_; }

private:
    mpz_t z_;
};

// The value of z (non-negative) in n words; the words above n are dropped
// (the value is taken modulo 2^(64n)).
inline Words toWords(mpz_srcptr z, size_t n) {
    Mpz low;
    mpz_fdiv_r_2exp(low, z, 64 * n);
    size_t count = (mpz_sizeinbase(low, 2) + 63) / 64;
    Words buf(count + 1, 0);
    size_t written = 0;
    mpz_export(buf.data(), &written, 1, sizeof(uint64_t), 0, 0, low);
    Words out(n, 0);
    for (size_t i = 0; i < written; ++i) out[n - written + i] = buf[i];
    return out;
}

inline std::string hex(const Words& w) {
    std::ostringstream s;
    s << std::hex << "(";
    for (size_t i = 0; i < w.size(); ++i) s << (i ? " " : "") << w[i];
    s << ")";
    return s.str();
}

inline int topBit(uint64_t x) { return 63 - __builtin_clzll(x); }

// Random operands. Every shape keeps its word count; lead(n) may zero a
// random prefix.
class Gen {
public:
    explicit Gen(uint64_t seed) : rng_(seed) {}

    uint64_t word() { return rng_(); }
    uint64_t below(uint64_t n) { return rng_() % n; }
    bool coin() { return (rng_() & 1) != 0; }

    // A word that is likely to sit on a carry or borrow boundary.
    uint64_t edgeWord() {
        switch (below(8)) {
            case 0: return 0;
            case 1: return ~uint64_t{0};
            case 2: return uint64_t{1} << below(64);
            case 3: return ~uint64_t{0} << below(64);
            case 4: return ~uint64_t{0} >> below(64);
            case 5: return below(4);
            case 6: return ~uint64_t{0} - below(4);
            default: return word();
        }
    }

    // n words in bit runs of random lengths, alternately ones and zeros,
    // starting with ones at the top (as GMP's mpz_rrandomb).
    Words runs(size_t n) {
        Words w(n, 0);
        const uint64_t maxRun = std::vector<uint64_t>{1, 4, 16, 64, 200, 64 * n + 1}[below(6)];
        uint64_t bit = 64 * n;
        bool one = true;
        while (bit > 0) {
            uint64_t len = 1 + below(maxRun);
            if (len > bit) len = bit;
            for (uint64_t i = 0; i < len; ++i) {
                --bit;
                if (one) w[n - 1 - bit / 64] |= uint64_t{1} << (bit % 64);
            }
            one = !one;
        }
        return w;
    }

    // n words of a randomly chosen shape.
    Words operand(size_t n) {
        switch (below(4)) {
            case 0: {
                Words w(n);
                for (auto& x : w) x = word();
                return w;
            }
            case 1: {
                Words w(n);
                for (auto& x : w) x = edgeWord();
                return w;
            }
            case 2: return Words(n, coin() ? ~uint64_t{0} : word());
            default: return runs(n);
        }
    }

    // An operand of n words whose first z words are zero (z random, maybe 0).
    Words withLead(size_t n, bool allowAllZero = true) {
        Words w = operand(n);
        size_t maxZero = allowAllZero ? n : n - 1;
        if (coin() && maxZero > 0) {
            size_t z = below(maxZero + 1);
            for (size_t i = 0; i < z; ++i) w[i] = 0;
        }
        return w;
    }

    // A non-zero divisor of n significant words (b[0] != 0) with a shape
    // that stresses the quotient estimate.
    Words divisor(size_t n) {
        Words b = operand(n);
        switch (below(5)) {
            case 0: b[0] = ~uint64_t{0}; break;  // top word all ones
            case 1: {                             // top 64 bits from the top bit all ones
                unsigned t = static_cast<unsigned>(below(64));
                b[0] = ~uint64_t{0} >> (63 - t);
                if (n > 1 && t < 63) b[1] |= ~uint64_t{0} << (t + 1);
                break;
            }
            case 2: b[0] = uint64_t{1} << below(64); break;  // top word a power of two
            default: break;
        }
        if (b[0] == 0) b[0] = 1 + below(~uint64_t{0});
        return b;
    }

private:
    std::mt19937_64 rng_;
};

}  // namespace m1test
