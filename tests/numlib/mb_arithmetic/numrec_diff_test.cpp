// Differential test of the NumRec arithmetic against GMP: random records
// (0 to 40 mantissa words, leading zero words, full and roomy, exponents from
// -40 to 40, both signs) go through each routine, and the result is compared
// with the value the routine must produce, computed exactly with GMP, with
// peta digits truncated where the routine drops them. After every call the
// working stack must be back where it was and the words behind the record
// untouched.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "q64/m2_scratch.h"
#include "q64/ma_alloctext.h"
#include "q64/mb_arithmetic.h"
#include "tests/numlib/numrec_oracle.h"

namespace {
using gmptest::Gen;
using gmptest::product;
using nrtest::Rec;
using nrtest::wordsOf;
using nrtest::workingUsed;
using nrtest::Z;

constexpr int kTrials = 3000;

// What a call must leave behind.
struct Expect {
    enum Kind { kValue, kUnchanged, kLost } kind = kValue;
    int64_t status = 0;
    Z mag;
    bool neg = false;
    int64_t e = 0;

    static Expect unchanged(int64_t status) {
        Expect x;
        x.kind = kUnchanged;
        x.status = status;
        return x;
    }
    static Expect lost() {
        Expect x;
        x.kind = kLost;
        x.status = -1;
        return x;
    }
    static Expect value(int64_t status, const Z& mag, bool neg, int64_t e) {
        Expect x;
        x.status = status;
        x.mag = mag;
        x.neg = neg;
        x.e = e;
        return x;
    }
};

void check(const Rec& before, const Rec& after, int64_t status, const Expect& ex) {
    SCOPED_TRACE("before " + before.describe() + ", after " + after.describe());
    EXPECT_TRUE(after.guardsIntact());
    EXPECT_EQ(status, ex.status);
    if (ex.kind == Expect::kUnchanged) {
        EXPECT_EQ(after.w, before.w);
        return;
    }
    if (ex.kind == Expect::kLost) return;
    EXPECT_EQ(after.lenl(), before.lenl());
    EXPECT_LE(after.lenv(), after.lenl() - 2);
    EXPECT_EQ(after.w[0] & NUMREC_RESERVED_MASK, before.w[0] & NUMREC_RESERVED_MASK);
    EXPECT_EQ(mpz_cmp(after.mantissa(), ex.mag), 0) << "expected 0x" << ex.mag.str();
    if (ex.mag.sign() != 0) {  // a zero's sign and exponent carry no meaning
        EXPECT_EQ(after.negative(), ex.neg);
        EXPECT_EQ(after.exp(), ex.e);
    }
}

Z truncDigits(const Z& a, uint64_t d) {
    Z r;
    mpz_tdiv_q(r, a, nrtest::petaPower(d));
    return r;
}
Z scaleUp(const Z& a, uint64_t d) { return product(a, nrtest::petaPower(d)); }

// Peta digits dropped until the value fits cap words.
uint64_t digitsToFit(Z& t, uint64_t cap) {
    uint64_t dropped = 0;
    while (wordsOf(t) > cap) {
        t = truncDigits(t, 1);
        ++dropped;
    }
    return dropped;
}

// Scaling the (compressed) mantissa up by k digits in cap words: each step
// needs a free word, so the length before the last step must stay below cap.
bool upFits(const Z& m, uint64_t k, uint64_t cap) {
    return k == 0 || m.sign() == 0 || wordsOf(scaleUp(m, k - 1)) < cap;
}

// x + y (subtract: x - y) by the window rules, for an operand y of magnitude
// my, sign ny_neg and exponent ey.
Expect addSubModel(const Rec& x, const Z& my, bool yNeg, int64_t ey, bool subtract) {
    if (x.exp() != ey) return Expect::unchanged(-1);
    Z mx = x.mantissa();
    uint64_t nx = wordsOf(mx), ny = wordsOf(my), lenv = x.lenv(), cap = x.capacity();
    bool yEff = yNeg != subtract;
    if (ny == 0) return Expect::value(0, mx, x.negative(), x.exp());
    if (nx == 0) {
        if (cap < ny) return Expect::unchanged(-1);
        return Expect::value(0, my, yEff, x.exp());
    }
    uint64_t windowWords, windowStart, newLenv = lenv;
    if (nx >= ny) {
        windowWords = nx;
        windowStart = lenv - nx;
    } else if (lenv >= ny) {
        windowWords = lenv;
        windowStart = 0;
    } else if (cap < ny) {
        return Expect::unchanged(-1);
    } else {
        windowWords = ny;
        windowStart = 0;
        newLenv = ny;
    }
    Z r;
    if (x.negative() == yEff) {
        mpz_add(r, mx, my);
        if (wordsOf(r) > windowWords && windowStart == 0 && newLenv >= cap) return Expect::lost();
        return Expect::value(0, r, x.negative(), x.exp());
    }
    mpz_sub(r, mx, my);
    bool neg = x.negative();
    if (r.sign() < 0) {
        mpz_neg(r, r);
        neg = !neg;
    }
    return Expect::value(0, r, neg, x.exp());
}

Expect addWordModel(const Rec& x, uint64_t k, bool subtract) {
    if (k == 0 || x.exp() >= 2) return Expect::unchanged(0);
    if (x.exp() == 1) {
        uint64_t q = k / NUMREC_PETA;
        if (q == 0) return Expect::unchanged(0);
        return addSubModel(x, Z(q), false, 1, subtract);
    }
    return addSubModel(x, scaleUp(Z(k), static_cast<uint64_t>(-x.exp())), false, x.exp(), subtract);
}

Expect mulModel(const Rec& x, const Rec& y) {
    Z mx = x.mantissa(), my = y.mantissa();
    uint64_t nx = wordsOf(mx), ny = wordsOf(my);
    if (nx == 0) return Expect::unchanged(0);
    if (ny == 0) return Expect::value(0, Z(), false, x.exp());
    if (x.lenv() + ny > x.capacity() && nx + ny > x.capacity()) return Expect::unchanged(-1);
    return Expect::value(0, product(mx, my), x.negative() != y.negative(), x.exp() + y.exp());
}

Expect mulRndModel(const Rec& x, const Rec& y, int64_t e) {
    Z mx = x.mantissa(), my = y.mantissa();
    uint64_t nx = wordsOf(mx), ny = wordsOf(my), cap = x.capacity();
    if (nx == 0 || ny == 0) return Expect::value(0, Z(), false, 0);
    Z p = product(mx, my);
    int64_t ep = x.exp() + y.exp();
    bool neg = x.negative() != y.negative();
    if (cap > nx + ny) {
        if (e >= ep) return Expect::value(0, truncDigits(p, e - ep), neg, e);
        if (!upFits(p, ep - e, cap)) return Expect::lost();
        return Expect::value(0, scaleUp(p, ep - e), neg, e);
    }
    if (e > ep) {
        p = truncDigits(p, e - ep);
        ep = e;
    }
    uint64_t dropped = digitsToFit(p, cap);
    return Expect::value(dropped > 0 ? 1 : 0, p, neg, ep + static_cast<int64_t>(dropped));
}

Expect mulRndSzModel(const Rec& x, const Rec& y, bool reportDropped) {
    Z mx = x.mantissa(), my = y.mantissa();
    uint64_t nx = wordsOf(mx), ny = wordsOf(my);
    if (nx == 0 || ny == 0) return Expect::value(0, Z(), false, 0);
    Z p = product(mx, my);
    uint64_t dropped = digitsToFit(p, x.capacity());
    return Expect::value(reportDropped ? static_cast<int64_t>(dropped) : 0, p,
                         x.negative() != y.negative(), x.exp() + y.exp() + static_cast<int64_t>(dropped));
}

Expect mulNumModel(const Rec& x, uint64_t m) {
    Z mx = x.mantissa();
    uint64_t n = wordsOf(mx), cap = x.capacity();
    if (m == 0 || n == 0) return Expect::value(0, Z(), false, 0);
    int64_t e = x.exp();
    if (n == cap) {  // full, first word significant: one or two digits go first
        Z once = truncDigits(mx, 1);
        uint64_t d = wordsOf(once) == cap ? 2 : 1;
        mx = truncDigits(mx, d);
        e += static_cast<int64_t>(d);
    }
    return Expect::value(0, product(mx, Z(m)), x.negative(), e);
}

Expect mul10nModel(const Rec& x, uint64_t k) {
    Z mx = x.mantissa();
    uint64_t n = wordsOf(mx), cap = x.capacity();
    int64_t e = x.exp() + static_cast<int64_t>(k / 16);
    Z p = mx;
    for (uint64_t i = 0; i < k % 16; ++i) mpz_mul_ui(p, p, 10);
    if (n == cap && wordsOf(p) > cap) return Expect::unchanged(-1);
    return Expect::value(0, p, x.negative(), e);
}

Expect mul2nModel(const Rec& x, uint64_t k, bool shorten) {
    Z mx = x.mantissa();
    if (mx.sign() == 0) return Expect::unchanged(0);
    uint64_t bits = mpz_sizeinbase(mx, 2), capBits = 64 * x.capacity();
    Z p;
    mpz_mul_2exp(p, mx, k);
    if (bits + k <= capBits) return Expect::value(0, p, x.negative(), x.exp());
    if (!shorten) return Expect::unchanged(-1);
    uint64_t dropped = digitsToFit(p, x.capacity());
    return Expect::value(0, p, x.negative(), x.exp() + static_cast<int64_t>(dropped));
}

Expect mul2npModel(const Rec& x, uint64_t k, int64_t e) {
    Z mx = x.mantissa();
    if (mx.sign() == 0) return Expect::unchanged(0);
    Z p;
    mpz_mul_2exp(p, mx, k);
    p = e >= x.exp() ? truncDigits(p, e - x.exp()) : scaleUp(p, x.exp() - e);
    if (wordsOf(p) > x.capacity()) return Expect::unchanged(-1);
    return Expect::value(0, p, x.negative(), e);
}

Expect adjustModel(const Rec& x, int64_t target) {
    Z mx = x.mantissa();
    if (mx.sign() == 0 || target == x.exp()) return Expect::value(0, mx, x.negative(), x.exp());
    if (target > x.exp()) return Expect::value(0, truncDigits(mx, target - x.exp()), x.negative(), target);
    uint64_t k = x.exp() - target;
    if (!upFits(mx, k, x.capacity())) return Expect::lost();
    return Expect::value(0, scaleUp(mx, k), x.negative(), target);
}

// Runs op on a copy of x, checks the stack balance and the outcome; an
// expectation built on an intermediate record is checked against that record.
void run(const Rec& x, const Expect& expect, const std::function<int64_t(uint64_t*)>& op,
         const Rec* reference = nullptr) {
    Rec after = x;
    uint64_t used = workingUsed();
    int64_t status = op(after.p());
    EXPECT_EQ(workingUsed(), used);
    check(reference != nullptr ? *reference : x, after, status, expect);
}

// x with its mantissa words unchanged and `extra` more words of capacity.
Rec roomier(const Rec& x, uint64_t extra) {
    return Rec(x.negative(), x.exp(), x.mantissaWords(), x.lenl() + extra, x.w[0] >> 56 & 0x7F);
}

// body(s) for kTrials cases drawn from one generator, up to the first failure.
template <class Body>
void forEachCase(uint64_t seed, Body body) {
    gmptest::forEachTrial(seed, kTrials, [&](Gen& s, int) { body(s); }, true);
}

TEST(NumRecDiff, AddAndSub) {
    forEachCase(0xADD5, [](Gen& s) {
        Rec x = nrtest::randomRec(s, 40, 40);
        Rec y = nrtest::randomRec(s, 40, 40);
        if (s.below(8) != 0) y.w[1] = x.w[1];
        bool subtract = s.coin();
        Expect ex = addSubModel(x, y.mantissa(), y.negative(), y.exp(), subtract);
        Rec yBefore = y;
        run(x, ex, [&](uint64_t* p) { return subtract ? _b_sub(p, y.p()) : _b_add(p, y.p()); });
        EXPECT_EQ(y.w, yBefore.w);
    });
}

TEST(NumRecDiff, AddAndSubOneWord) {
    forEachCase(0x5D6, [](Gen& s) {
        Rec x = nrtest::randomRec(s, 40, 3);
        if (s.coin()) x.w[1] = static_cast<uint64_t>(-static_cast<int64_t>(s.below(41)));
        uint64_t k = s.coin() ? s.runWord() : s.below(5) * NUMREC_PETA + s.below(3);
        int which = static_cast<int>(s.below(3));
        if (which == 2) {
            int64_t sk = static_cast<int64_t>(k);
            Expect ex = sk >= 0 ? addWordModel(x, static_cast<uint64_t>(sk), false)
                                : addWordModel(x, 0 - static_cast<uint64_t>(sk), true);
            run(x, ex, [&](uint64_t* p) { return _b_addsnum(p, sk); });
        } else {
            bool subtract = which == 1;
            run(x, addWordModel(x, k, subtract),
                [&](uint64_t* p) { return subtract ? _b_subnum(p, k) : _b_addnum(p, k); });
        }
    });
}

TEST(NumRecDiff, ExactProduct) {
    forEachCase(0x3171, [](Gen& s) {
        Rec x = nrtest::randomRec(s, 40, 40);
        Rec y = nrtest::randomRec(s, 40, 40);
        Rec yBefore = y;
        run(x, mulModel(x, y), [&](uint64_t* p) { return _b_mul(p, y.p()); });
        EXPECT_EQ(y.w, yBefore.w);
    });
}

TEST(NumRecDiff, ProductAtAnExponentAndShortened) {
    forEachCase(0x3172, [](Gen& s) {
        Rec x = nrtest::randomRec(s, 40, 40);
        Rec y = nrtest::randomRec(s, 40, 40);
        int64_t e = x.exp() + y.exp() + static_cast<int64_t>(s.below(21)) - 10;
        switch (s.below(4)) {
        case 0: run(x, mulRndModel(x, y, e), [&](uint64_t* p) { return _b_mulrnd(p, y.p(), e); }); break;
        case 1: run(x, mulRndSzModel(x, y, true), [&](uint64_t* p) { return _b_mulrndsz(p, y.p()); }); break;
        case 2: run(x, mulRndModel(x, x, x.exp()), [&](uint64_t* p) { return _b_square(p); }); break;
        default: run(x, mulRndSzModel(x, x, false), [&](uint64_t* p) { return _b_squaresz(p); }); break;
        }
    });
}

TEST(NumRecDiff, OneWordFactorsAndPowersOfTen) {
    forEachCase(0x3173, [](Gen& s) {
        Rec x = nrtest::randomRec(s, 40, 40);
        if (s.coin()) {
            uint64_t m = s.below(8) == 0 ? 0 : s.runWord();
            run(x, mulNumModel(x, m), [&](uint64_t* p) { return _b_mulnum(p, m); });
        } else {
            uint64_t k = s.below(100);
            run(x, mul10nModel(x, k), [&](uint64_t* p) { return _b_mul10n(p, k); });
        }
    });
}

TEST(NumRecDiff, CombinedOneWordSteps) {
    forEachCase(0x3175, [](Gen& s) {
        Rec x = nrtest::randomRec(s, 40, 3);
        uint64_t m = s.runWord();
        switch (s.below(4)) {
        case 0:
        case 1: {  // x * m + k and x * m - k: the product is checked on its own first
            bool subtract = s.coin();
            uint64_t k = s.coin() ? s.runWord() : s.below(3) * NUMREC_PETA + s.below(9);
            Rec mid = x;
            uint64_t used = workingUsed();
            check(x, mid, _b_mulnum(mid.p(), m), mulNumModel(x, m));
            EXPECT_EQ(workingUsed(), used);
            run(x, addWordModel(mid, k, subtract),
                [&](uint64_t* p) { return subtract ? _b_mulsub(p, m, k) : _b_muladd(p, m, k); }, &mid);
            break;
        }
        case 2: {
            int64_t k = static_cast<int64_t>(m);
            uint64_t magnitude = k < 0 ? 0 - m : m;
            Expect ex = mulNumModel(x, magnitude);
            ex.neg = ex.neg != (k < 0);
            run(x, ex, [&](uint64_t* p) { return _b_mulsnum(p, k); });
            break;
        }
        default: {  // a short run of factors in a record with a free word for each
            uint64_t lo = s.coin() ? s.below(40) : s.runWord() >> s.below(64);
            uint64_t hi = lo + s.below(6);
            if (hi < lo) hi = lo;
            Rec roomy = roomier(x, hi - lo + 1);
            Z f(1);
            for (uint64_t i = lo;; ++i) {
                mpz_mul(f, f, Z(i));
                if (i == hi) break;
            }
            Expect ex = Expect::value(0, product(roomy.mantissa(), f), roomy.negative(), roomy.exp());
            bool swap = s.coin();
            run(roomy, ex, [&](uint64_t* p) { return swap ? _b_mulnum2num(p, hi, lo) : _b_mulnum2num(p, lo, hi); });
            break;
        }
        }
    });
}

TEST(NumRecDiff, PowersOfTwo) {
    forEachCase(0x3174, [](Gen& s) {
        Rec x = nrtest::randomRec(s, 40, 40);
        uint64_t cap = x.capacity();
        switch (s.below(3)) {
        case 0: {
            uint64_t k = s.below(64 * cap + 65);
            run(x, mul2nModel(x, k, false), [&](uint64_t* p) { return _b_mul2n(p, k); });
            break;
        }
        case 1: {
            uint64_t k = s.below(64 * cap + 3000);
            run(x, mul2nModel(x, k, true), [&](uint64_t* p) { return _b_mul2nsz(p, k); });
            break;
        }
        default: {
            uint64_t k = s.below(400);
            int64_t e = x.exp() + static_cast<int64_t>(s.below(21)) - 10;
            run(x, mul2npModel(x, k, e), [&](uint64_t* p) { return _b_mul2np(p, k, e); });
            break;
        }
        }
    });
}

TEST(NumRecDiff, Alignment) {
    forEachCase(0xA119, [](Gen& s) {
        Rec x = nrtest::randomRec(s, 40, 40);
        int64_t target = x.exp() + static_cast<int64_t>(s.below(81)) - 40;
        switch (s.below(3)) {
        case 0: run(x, adjustModel(x, target), [&](uint64_t* p) { return _a_adjnums(p, target); }); break;
        case 1: {
            uint64_t w = s.below(x.capacity() + 1);
            Z m = x.mantissa();
            uint64_t dropped = digitsToFit(m, w);
            Expect ex = Expect::value(static_cast<int64_t>(dropped), m, x.negative(),
                                      x.exp() + static_cast<int64_t>(dropped));
            run(x, ex, [&](uint64_t* p) { return _a_adjnumszdown(p, w); });
            break;
        }
        default: {
            // A scaled copy in a new block of another length.
            uint64_t n = wordsOf(x.mantissa());
            uint64_t l = n + 2 + s.below(10);
            if (s.below(8) == 0 && n > 0) l = n + 1;
            int64_t by = static_cast<int64_t>(s.below(41)) - 20;
            Rec shaped(x.negative(), x.exp(), nrtest::toWords(x.mantissa(), n), l, x.w[0] >> 56 & 0x7F);
            Expect ex = n + 2 > l ? Expect::unchanged(-1) : adjustModel(shaped, x.exp() - by);
            uint64_t used = workingUsed();
            uint64_t* r = _a_numtoalocadj(x.p(), l, by);
            if (ex.kind != Expect::kValue) {
                EXPECT_EQ(r, nullptr);
                EXPECT_EQ(workingUsed(), used);
                break;
            }
            ASSERT_NE(r, nullptr);
            EXPECT_EQ(workingUsed(), used + l + 1);
            Rec got = shaped;
            for (uint64_t i = 0; i < l; ++i) got.w[i] = r[i];
            check(shaped, got, 0, ex);
            _2_frees();
            break;
        }
        }
    });
}

}  // namespace
