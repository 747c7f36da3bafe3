// Differential test of the comparisons against GMP: every result must agree
// with mpq_cmp (or mpz_cmp for mantissas) on random records and on pairs
// built to be close — one value held at two exponents, or two values exactly
// 10^(16t) apart, each give or take one unit of the finer exponent — where
// the rough comparison by bit lengths cannot decide. The operands are never
// changed and the working stack is balanced after every call.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "q64/mc_compare.h"
#include "tests/numlib/numdiv_oracle.h"

namespace {
using divtest::Q;
using divtest::Rec;
using divtest::Z;
using gmptest::Gen;
using gmptest::forEachTrial;
using gmptest::sign;
using nrtest::workingUsed;

constexpr int kTrials = 3000;
constexpr uint64_t kSeed = 0x5EEDC0DE;

// The value of a record scaled to an integer at exponent e (e <= its exponent).
Z atExponent(const Rec& r, int64_t e) {
    Z v = divtest::signedMantissa(r);
    mpz_mul(v, v, nrtest::petaPower(static_cast<uint64_t>(r.exp() - e)));
    return v;
}

// A record of the signed integer v at exponent e, with some free words and
// sometimes a leading zero word.
Rec recordIn(Gen& s, const Z& v, int64_t e) {
    const size_t lead = s.below(4) == 0 ? 1 : 0;
    return divtest::recordOf(v, e, nrtest::wordsOf(v) + lead + 2 + s.below(3), lead);
}

// Runs a comparison and checks that it changed nothing and balanced the stack.
template <class Call>
int64_t compare(const Rec& a, const Rec& b, Call call) {
    const nrtest::Words wa = a.w, wb = b.w;
    const uint64_t used = workingUsed();
    const int64_t r = call();
    EXPECT_EQ(workingUsed(), used) << "working stack unbalanced";
    EXPECT_EQ(a.w, wa);
    EXPECT_EQ(b.w, wb);
    return r;
}

// A pair: independent records, one value at two exponents give or take a
// unit, or (tolerance pairs) two values 10^(16t) apart give or take a unit.
struct Pair {
    Rec a, b;
    int64_t t;
};

Pair makePair(Gen& s) {
    Rec a = nrtest::randomRec(s, 8, 4);
    const int64_t unit = static_cast<int64_t>(s.below(3)) - 1;
    switch (s.below(3)) {
    case 0: {
        Rec b = nrtest::randomRec(s, 8, 4);
        const int64_t t = std::min(a.exp(), b.exp()) + static_cast<int64_t>(s.below(10)) - 2;
        return {a, b, t};
    }
    case 1: {  // the same value held at a finer exponent
        const int64_t e = a.exp() - static_cast<int64_t>(s.below(3));
        Z v = atExponent(a, e);
        if (unit < 0) mpz_sub_ui(v, v, 1);
        if (unit > 0) mpz_add_ui(v, v, 1);
        if (s.coin()) mpz_neg(v, v);
        return {a, recordIn(s, v, e), e + static_cast<int64_t>(s.below(4)) - 1};
    }
    default: {  // b = a +- (10^(16t) + unit * 10^(16e)), e <= t
        const int64_t t = a.exp() + static_cast<int64_t>(s.below(8)) - 3;
        const int64_t e = std::min(a.exp(), t) - static_cast<int64_t>(s.below(2));
        Z d = nrtest::petaPower(static_cast<uint64_t>(t - e));
        if (unit < 0) mpz_sub_ui(d, d, 1);
        if (unit > 0) mpz_add_ui(d, d, 1);
        if (s.coin()) mpz_neg(d, d);
        Z v = atExponent(a, e);
        mpz_add(v, v, d);
        Rec b = recordIn(s, v, e);
        if (s.coin()) return {b, a, t};
        return {a, b, t};
    }
    }
}

TEST(NumCmpDiff, AgreesWithGmp) {
    forEachTrial(kSeed, kTrials, [&](Gen& s, int) {
        Pair p = makePair(s);
        Rec &a = p.a, &b = p.b;
        SCOPED_TRACE(a.describe() + " vs " + b.describe() + " t " + std::to_string(p.t));
        Q va, vb, absA, absB, diff, tol;
        nrtest::valueOf(va, a.p());
        nrtest::valueOf(vb, b.p());
        mpq_abs(absA, va);
        mpq_abs(absB, vb);
        EXPECT_EQ(compare(a, b, [&] { return _c_cmpnum(a.p(), b.p()); }),
                  sign(mpz_cmp(a.mantissa(), b.mantissa())));
        EXPECT_EQ(compare(a, b, [&] { return _c_cmprnum(a.p(), b.p()); }),
                  sign(mpz_cmp(divtest::signedMantissa(a), divtest::signedMantissa(b))));
        const int exact = sign(mpq_cmp(absA, absB));
        EXPECT_EQ(compare(a, b, [&] { return _c_cmpabs(a.p(), b.p()); }), exact);
        Q2Value rough{};
        compare(a, b, [&] {
            rough = _c_cmprgh(a.p(), b.p());
            return 0;
        });
        if (rough.hi == 0) {
            EXPECT_EQ(static_cast<int64_t>(rough.lo), exact) << "the rough test decided wrongly";
        } else {
            EXPECT_EQ(rough.lo, 0u);
            const int64_t e = std::min(a.exp(), b.exp());
            const int64_t gap = static_cast<int64_t>(mpz_sizeinbase(atExponent(a, e), 2)) -
                                static_cast<int64_t>(mpz_sizeinbase(atExponent(b, e), 2));
            EXPECT_LE(std::abs(gap), 3) << "the rough test left a clear case open";
        }
        const uint64_t d = s.below(4);
        Z scaled = divtest::product(b.mantissa(), nrtest::petaPower(d));
        EXPECT_EQ(compare(a, b, [&] { return _c_cmpabsalc(a.p(), b.p(), d); }),
                  sign(mpz_cmp(a.mantissa(), scaled)));
        mpq_sub(diff, vb, va);
        mpq_abs(diff, diff);
        Z power = nrtest::petaPower(static_cast<uint64_t>(p.t < 0 ? -p.t : p.t));
        mpq_set_z(tol, power);
        if (p.t < 0) mpq_inv(tol, tol);
        const int within = sign(mpq_cmp(diff, tol));
        EXPECT_EQ(compare(a, b, [&] { return _c_cmpdexp(a.p(), b.p(), p.t); }), within);
        EXPECT_EQ(compare(a, b, [&] { return _c_cmpdexp(b.p(), a.p(), p.t); }), within);
        EXPECT_EQ(compare(a, b, [&] { return _c_cmpdexp1(a.p(), b.p(), p.t); }), within);
    });
}

// |x| against 10^(16e) for e around x's size, and for x a power of 10^16
// give or take one, well beyond the constant table.
TEST(NumCmpDiff, PowersOfPeta) {
    forEachTrial(kSeed + 1, kTrials, [&](Gen& s, int) {
        Rec x = nrtest::randomRec(s, 8, 4);
        int64_t e = x.exp() + static_cast<int64_t>(s.below(12)) - 2;
        if (s.below(3) == 0) {
            const uint64_t k = s.below(60);
            Z v = nrtest::petaPower(k);
            if (s.coin()) mpz_add_ui(v, v, s.below(3));
            else mpz_sub_ui(v, v, s.below(2));
            if (s.coin()) mpz_neg(v, v);
            const int64_t ex = static_cast<int64_t>(s.below(5)) - 2;
            x = recordIn(s, v, ex);
            e = ex + static_cast<int64_t>(k) + static_cast<int64_t>(s.below(3)) - 1;
        }
        SCOPED_TRACE(x.describe() + " vs 10^(16*" + std::to_string(e) + ")");
        Q v, power;
        nrtest::valueOf(v, x.p());
        mpq_abs(v, v);
        mpq_set_z(power, nrtest::petaPower(static_cast<uint64_t>(e < 0 ? -e : e)));
        if (e < 0) mpq_inv(power, power);
        const int want = x.mantissa().sign() == 0 ? -1 : sign(mpq_cmp(v, power));
        EXPECT_EQ(compare(x, x, [&] { return _c_cmpexp(x.p(), e); }), want);
        if (e == 0) {
            EXPECT_EQ(compare(x, x, [&] { return _c_cmpexp0(x.p()); }), want);
        }
    });
}

}  // namespace
