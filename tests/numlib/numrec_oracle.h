// Test support for NumRec routines: records on the heap, their values as GMP
// integers and rationals, and random records shaped to find carry faults.
#pragma once

#include <gmp.h>

#include <cstdint>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "numlib/m2/scratch_area.h"
#include "numlib/m9/numrec.h"

namespace nrtest {

using Words = std::vector<uint64_t>;  // most significant word first

class Z {
public:
    Z() { mpz_init(z_); }
    explicit Z(uint64_t v) : Z() { mpz_import(z_, 1, 1, 8, 0, 0, &v); }
    Z(const uint64_t* p, size_t n) : Z() {
        if (n != 0) mpz_import(z_, n, 1, 8, 0, 0, p);
    }
    Z(const Z& o) : Z() { mpz_set(z_, o.z_); }
    Z& operator=(const Z& o) {
        mpz_set(z_, o.z_);
        return *this;
    }
    ~Z() { mpz_clear(z_); }
    operator mpz_ptr() { return z_; }
    operator mpz_srcptr() const { return z_; }
    int sign() const { return mpz_sgn(z_); }
    std::string str() const {
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

// 10^(16k).
inline Z petaPower(uint64_t k) {
    Z z;
    mpz_ui_pow_ui(z, 10, 16 * k);
    return z;
}

// Significant words of a non-negative integer.
inline uint64_t wordsOf(const Z& z) { return z.sign() == 0 ? 0 : (mpz_sizeinbase(z, 2) + 63) / 64; }

// Words of z, most significant first, in exactly n words (n >= wordsOf(z)).
inline Words toWords(const Z& z, size_t n) {
    Words buf(wordsOf(z) + 1, 0);
    size_t written = 0;
    if (z.sign() != 0) mpz_export(buf.data(), &written, 1, 8, 0, 0, z);
    Words out(n, 0);
    for (size_t i = 0; i < written; ++i) out[n - written + i] = buf[i];
    return out;
}

// A record on the heap with a few guard words behind it.
struct Rec {
    Words w;
    static constexpr size_t kGuard = 4;
    static constexpr uint64_t kGuardWord = 0x5A5A5A5AA5A5A5A5u;

    Rec(bool negative, int64_t exp, const Words& mantissa, uint64_t l, uint64_t reserved = 0)
        : w(l + kGuard, 0xDEADBEEFDEADBEEFu) {
        w[0] = (negative ? NUMREC_SIGN_BIT : 0) | (reserved << 56) | NUMREC_HEADER(l) | mantissa.size();
        w[1] = static_cast<uint64_t>(exp);
        for (size_t i = 0; i < mantissa.size(); ++i) w[2 + i] = mantissa[i];
        for (size_t i = 0; i < kGuard; ++i) w[l + i] = kGuardWord;
    }
    uint64_t* p() { return w.data(); }
    uint64_t lenv() const { return w[0] & NUMREC_LENV_MASK; }
    uint64_t lenl() const { return (w[0] & NUMREC_LENL_MASK) >> NUMREC_LENL_SHIFT; }
    bool negative() const { return (w[0] >> 63) != 0; }
    int64_t exp() const { return static_cast<int64_t>(w[1]); }
    Z mantissa() const { return Z(w.data() + 2, lenv()); }
    bool guardsIntact() const {
        for (size_t i = w.size() - kGuard; i < w.size(); ++i)
            if (w[i] != kGuardWord) return false;
        return true;
    }
    std::string describe() const {
        std::ostringstream s;
        s << (negative() ? "-" : "+") << "0x" << mantissa().str() << " e" << exp() << " L" << lenv()
          << " l" << lenl();
        return s.str();
    }
};

// The mantissa value of a record anywhere in memory.
inline Z mantissaOf(const uint64_t* rec) { return Z(rec + 2, rec[0] & NUMREC_LENV_MASK); }

// The value (-1)^sign * M * 10^(16 e) of a record as an exact rational.
class Q {
public:
    Q() { mpq_init(q_); }
    ~Q() { mpq_clear(q_); }
    Q(const Q&) = delete;
    Q& operator=(const Q&) = delete;
    operator mpq_ptr() { return q_; }
    operator mpq_srcptr() const { return q_; }
    void set(const Z& m, bool negative, int64_t e) {
        Z num(m);
        Z den(1);
        if (e >= 0) mpz_mul(num, num, petaPower(static_cast<uint64_t>(e)));
        else mpz_set(den, petaPower(static_cast<uint64_t>(-e)));
        if (negative) mpz_neg(num, num);
        mpq_set_num(q_, num);
        mpq_set_den(q_, den);
        mpq_canonicalize(q_);
    }

private:
    mpq_t q_;
};

inline void valueOf(Q& q, const uint64_t* rec) {
    q.set(mantissaOf(rec), (rec[0] >> 63) != 0, static_cast<int64_t>(rec[1]));
}

// Words in use on the working stack.
inline uint64_t workingUsed() { return scratch::area[scratch::kWorkingBounds] & 0xFFFFFFFFu; }

// Random words with long runs of zero and one bits, all-ones and zero words.
class Shapes {
public:
    explicit Shapes(uint64_t seed) : rng_(seed) {}
    std::mt19937_64& rng() { return rng_; }
    uint64_t below(uint64_t n) { return n == 0 ? 0 : rng_() % n; }
    bool coin() { return (rng_() & 1) != 0; }
    uint64_t word() {
        switch (below(6)) {
        case 0: return 0;
        case 1: return ~uint64_t{0};
        case 2: {  // a run of ones
            uint64_t len = 1 + below(63);
            uint64_t at = below(64 - len + 1);
            return ((len == 64 ? ~uint64_t{0} : (uint64_t{1} << len) - 1)) << at;
        }
        case 3: return ~uint64_t{0} >> below(64);
        default: return rng_();
        }
    }
    // n significant words (first one non-zero).
    Words significant(size_t n) {
        Words w(n);
        for (auto& x : w) x = word();
        if (n != 0 && w[0] == 0) w[0] = 1 + below(~uint64_t{0} - 1);
        return w;
    }

private:
    std::mt19937_64 rng_;
};

// A random record: n significant words (0 to maxWords), up to two leading zero
// words, full or roomy, exponent in [-maxExp, maxExp], either sign.
inline Rec randomRec(Shapes& s, size_t maxWords, int64_t maxExp, uint64_t minCapacity = 0) {
    size_t n = s.below(maxWords + 1);
    size_t lead = s.below(4) == 0 ? s.below(3) : 0;
    Words m(lead, 0);
    Words sig = s.significant(n);
    m.insert(m.end(), sig.begin(), sig.end());
    uint64_t capacity = m.size() + (s.coin() ? 0 : 1 + s.below(8));
    if (capacity < minCapacity) capacity = minCapacity;
    int64_t e = static_cast<int64_t>(s.below(2 * maxExp + 1)) - maxExp;
    uint64_t reserved = s.below(8) == 0 ? s.below(128) : 0;
    return Rec(s.coin(), e, m, capacity + 2, reserved);
}

}  // namespace nrtest
