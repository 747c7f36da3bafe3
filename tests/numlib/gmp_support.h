// Test support shared by the number-library tests: GMP integers as the
// oracle, word arrays to and from GMP, random operands shaped to find carry
// and borrow faults (long runs of zero and one bits, all-ones and zero words,
// leading zero words), and the loops that run a check over many of them with
// the seed in every failure message.
#pragma once

#include <gmp.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace gmptest {

using Words = std::vector<uint64_t>;  // most significant word first

// An mpz_t that frees itself; a copy copies the value.
class Z {
public:
    Z() { mpz_init(z_); }
    explicit Z(uint64_t v) : Z() { mpz_import(z_, 1, 1, sizeof(uint64_t), 0, 0, &v); }
    Z(const uint64_t* p, size_t n) : Z() {
        if (n != 0) mpz_import(z_, n, 1, sizeof(uint64_t), 0, 0, p);
    }
    explicit Z(const Words& w) : Z(w.data(), w.size()) {}
    Z(const Z& o) : Z() { mpz_set(z_, o.z_); }
    Z& operator=(const Z& o) {
        mpz_set(z_, o.z_);
        return *this;
    }
    ~Z() { mpz_clear(z_); }
    operator mpz_ptr() { return z_; }
    operator mpz_srcptr() const { return z_; }
    mpz_srcptr operator->() const { return z_; }  // for GMP's macros (mpz_cmp_ui)
    int sign() const { return mpz_sgn(z_); }
    std::string str() const {  // hexadecimal
        char* s = mpz_get_str(nullptr, 16, z_);
        std::string out(s);
        void (*freefunc)(void*, size_t);
        mp_get_memory_functions(nullptr, nullptr, &freefunc);
        freefunc(s, out.size() + 1);
        return out;
    }

private:
    mpz_t z_;
};

inline Z product(const Z& a, const Z& b) {
    Z r;
    mpz_mul(r, a, b);
    return r;
}

// Significant words of a non-negative integer.
inline uint64_t wordsOf(const Z& z) { return z.sign() == 0 ? 0 : (mpz_sizeinbase(z, 2) + 63) / 64; }

// The value of z in n words; the words above n are dropped (the value is
// taken modulo 2^(64n), so a negative z gives its two's complement).
inline Words toWords(mpz_srcptr z, size_t n) {
    Z low;
    mpz_fdiv_r_2exp(low, z, 64 * n);
    Words buf(wordsOf(low) + 1, 0);
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

// -1, 0 or 1 as a comparison answers, from any negative, zero or positive c.
inline int sign(int c) { return (c > 0) - (c < 0); }

inline size_t leadingZeros(const Words& w) {
    size_t z = 0;
    while (z < w.size() && w[z] == 0) ++z;
    return z;
}

// The largest k < 64 with B * 2^k <= V; -1 when there is none, or when even
// B * 2^64 <= V.
inline int64_t largestShift(const Z& b, mpz_srcptr v) {
    Z shifted;
    mpz_mul_2exp(shifted, b, 64);
    if (mpz_cmp(shifted, v) <= 0) return -1;
    for (int k = 63; k >= 0; --k) {
        mpz_mul_2exp(shifted, b, k);
        if (mpz_cmp(shifted, v) <= 0) return k;
    }
    return -1;
}

// An n-word W after W += T in place: the carry out of the front (0 or 1)
// and W + T modulo 2^(64n).
inline void expectSum(const Words& after, int64_t carry, const Z& w, const Z& t) {
    Z sum;
    mpz_add(sum, w, t);
    EXPECT_EQ(carry, mpz_sizeinbase(sum, 2) > 64 * after.size() ? 1 : 0);
    EXPECT_EQ(after, toWords(sum, after.size()));
}

// An n-word W after W -= T in place: the borrow out of the front (-1 or 0)
// and W - T modulo 2^(64n).
inline void expectDifference(const Words& after, int64_t borrow, const Z& w, const Z& t) {
    Z diff;
    mpz_sub(diff, w, t);
    EXPECT_EQ(borrow, diff.sign() < 0 ? -1 : 0);
    EXPECT_EQ(after, toWords(diff, after.size()));
}

// Random operands. Every shape keeps its word count.
class Gen {
public:
    explicit Gen(uint64_t seed) : rng_(seed) {}

    uint64_t word() { return rng_(); }
    uint64_t below(uint64_t n) { return n == 0 ? 0 : rng_() % n; }
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

    // Zero, all ones, one run of ones, a low mask, or a random word.
    uint64_t runWord() {
        switch (below(6)) {
            case 0: return 0;
            case 1: return ~uint64_t{0};
            case 2: {
                uint64_t len = 1 + below(63);
                uint64_t at = below(64 - len + 1);
                return ((len == 64 ? ~uint64_t{0} : (uint64_t{1} << len) - 1)) << at;
            }
            case 3: return ~uint64_t{0} >> below(64);
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

    // n significant words of runWord()s (the first one non-zero).
    Words significant(size_t n) {
        Words w(n);
        for (auto& x : w) x = runWord();
        if (n != 0 && w[0] == 0) w[0] = 1 + below(~uint64_t{0} - 1);
        return w;
    }

private:
    std::mt19937_64 rng_;
};

// body(g) for the seeds 1 to count, each with a generator of its own; stops
// at the first failure.
template <class Body>
void forEachSeed(uint64_t count, Body body) {
    for (uint64_t seed = 1; seed <= count; ++seed) {
        SCOPED_TRACE(testing::Message() << "seed " << seed);
        Gen g(seed);
        body(g);
        if (::testing::Test::HasFailure()) return;
    }
}

// body(g, trial) for count trials drawn from one generator; stops at a fatal
// failure, or at any failure when stopAtFirstFailure.
template <class Body>
void forEachTrial(uint64_t seed, int count, Body body, bool stopAtFirstFailure = false) {
    Gen g(seed);
    for (int trial = 0; trial < count; ++trial) {
        SCOPED_TRACE("seed " + std::to_string(seed) + " trial " + std::to_string(trial));
        body(g, trial);
        if (stopAtFirstFailure ? ::testing::Test::HasFailure() : ::testing::Test::HasFatalFailure()) return;
    }
}

}  // namespace gmptest
