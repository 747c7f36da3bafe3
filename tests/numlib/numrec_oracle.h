// Test support for NumRec routines: records on the heap, their values as GMP
// integers and rationals, random records shaped to find carry faults, and
// the working stack's use.
#pragma once

#include <cstdint>
#include <sstream>
#include <string>

#include "numlib/m2_scratch/scratch_area.h"
#include "q64/m0_utilities.h"
#include "q64/m2_scratch.h"
#include "q64/m9_numrec.h"
#include "tests/numlib/gmp_support.h"

namespace nrtest {

using gmptest::Gen;
using gmptest::toWords;
using gmptest::Words;
using gmptest::wordsOf;
using gmptest::Z;

// 10^(16k).
inline Z petaPower(uint64_t k) {
    Z z;
    mpz_ui_pow_ui(z, 10, 16 * k);
    return z;
}

// The mantissa words of a record anywhere in memory, leading zero words
// included.
inline Words mantissaWords(const uint64_t* rec) { return Words(rec + 2, rec + 2 + (rec[0] & NUMREC_LENV_MASK)); }

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
    uint64_t capacity() const { return lenl() - 2; }  // mantissa words
    bool negative() const { return (w[0] >> 63) != 0; }
    int64_t exp() const { return static_cast<int64_t>(w[1]); }
    Z mantissa() const { return Z(w.data() + 2, lenv()); }
    Words mantissaWords() const { return nrtest::mantissaWords(w.data()); }
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

// Takes all of the working stack but `keep` free words; gives them back on exit.
class StackFiller {
public:
    explicit StackFiller(uint64_t keep) { _2_alocs(static_cast<uint64_t>(_2_left()) - 1 - keep); }
    ~StackFiller() { _2_frees(); }
    StackFiller(const StackFiller&) = delete;
    StackFiller& operator=(const StackFiller&) = delete;
};

// Fills the free words of the working stack with a pattern, so that a test
// can tell whether a call took work memory there (its contents are never
// cleared, so a method that used the stack leaves its traces).
class StackCanary {
public:
    StackCanary()
        : from_(scratch::kWorkingBounds + 2 + workingUsed()),
          to_(scratch::kWorkingBounds + (scratch::area[scratch::kWorkingBounds] >> 32)) {
        for (uint64_t i = from_; i < to_; ++i) scratch::area[i] = kPattern;
    }
    bool touched() const {
        for (uint64_t i = from_; i < to_; ++i)
            if (scratch::area[i] != kPattern) return true;
        return false;
    }
    // Words from the first free one up to the last one written (0 if none).
    uint64_t reach() const {
        for (uint64_t i = to_; i > from_; --i)
            if (scratch::area[i - 1] != kPattern) return i - from_;
        return 0;
    }

private:
    static constexpr uint64_t kPattern = 0xC0FFEE00C0FFEE00u;
    uint64_t from_, to_;
};

// A random record: n significant words (0 to maxWords), up to two leading zero
// words, full or roomy, exponent in [-maxExp, maxExp], either sign.
inline Rec randomRec(Gen& s, size_t maxWords, int64_t maxExp, uint64_t minCapacity = 0) {
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
