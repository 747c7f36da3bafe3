// Test support for division and comparison of NumRecs: exact truncated
// quotients with GMP, and records built from GMP values.
#pragma once

#include <gmp.h>
#include <gtest/gtest.h>

#include <cstdint>

#include "tests/numlib/numrec_oracle.h"

namespace divtest {

using gmptest::product;
using nrtest::Q;
using nrtest::Rec;
using nrtest::StackFiller;
using nrtest::Words;
using nrtest::Z;

// trunc(a / b) and a mod b with the sign of a (b != 0).
inline Z tdivQ(const Z& a, const Z& b) {
    Z r;
    mpz_tdiv_q(r, a, b);
    return r;
}
inline Z tdivR(const Z& a, const Z& b) {
    Z r;
    mpz_tdiv_r(r, a, b);
    return r;
}

// The signed integer M * (-1)^sign of a record.
inline Z signedMantissa(const Rec& r) {
    Z m = r.mantissa();
    if (r.negative()) mpz_neg(m, m);
    return m;
}

// The value v truncated toward zero to a multiple of 10^(16e), as the signed
// mantissa that a record of exponent e holds for it.
inline Z truncAt(const Q& v, int64_t e) {
    Z num, den;
    mpq_get_num(num, v);
    mpq_get_den(den, v);
    if (e >= 0) mpz_mul(den, den, nrtest::petaPower(static_cast<uint64_t>(e)));
    else mpz_mul(num, num, nrtest::petaPower(static_cast<uint64_t>(-e)));
    return tdivQ(num, den);
}

// The quotient of two record values as a rational (y nonzero).
inline void quotientOf(Q& out, const uint64_t* x, const uint64_t* y) {
    Q vx, vy;
    nrtest::valueOf(vx, x);
    nrtest::valueOf(vy, y);
    mpq_div(out, vx, vy);
}

// Whether the leading nb words of the n-word value a are at least b.
inline bool topAtLeast(const Z& a, uint64_t n, const Z& b, uint64_t nb) {
    Z top;
    mpz_tdiv_q_2exp(top, a, 64 * (n - nb));
    return mpz_cmp(top, b) >= 0;
}

// The one-word encoding of a non-negative integer.
inline int64_t encodeWord(const Z& q) {
    if (q.sign() == 0) return 0;
    constexpr uint64_t kTop = uint64_t{1} << 63;
    uint64_t low = mpz_getlimbn(q, 0);
    if (mpz_sizeinbase(q, 2) <= 63) return static_cast<int64_t>(low);
    return static_cast<int64_t>((low & (kTop / 2 - 1)) | kTop);
}

// A record of l words holding the signed integer m at exponent e, with `lead`
// zero words in front of its mantissa.
inline Rec recordOf(const Z& m, int64_t e, uint64_t l, size_t lead = 0) {
    Z mag(m);
    mpz_abs(mag, mag);
    Words w(lead, 0);
    Words sig = nrtest::toWords(mag, nrtest::wordsOf(mag));
    w.insert(w.end(), sig.begin(), sig.end());
    return Rec(m.sign() < 0, e, w, l);
}

// Runs a call on x and checks what every call must leave behind.
template <class Call>
int64_t run(Rec& x, Call call) {
    const uint64_t used = nrtest::workingUsed();
    const uint64_t l = x.lenl();
    const int64_t status = call();
    EXPECT_EQ(nrtest::workingUsed(), used) << "working stack unbalanced";
    EXPECT_TRUE(x.guardsIntact());
    EXPECT_EQ(x.lenl(), l);
    EXPECT_LE(x.lenv(), l - 2);
    return status;
}

// x holds the signed integer v at exponent e (a zero's sign and exponent are free).
inline void expectHolds(const Rec& x, const Z& v, int64_t e) {
    Z mag(v);
    mpz_abs(mag, mag);
    EXPECT_EQ(mpz_cmp(x.mantissa(), mag), 0) << "expected " << (v.sign() < 0 ? "-0x" : "0x") << mag.str();
    if (v.sign() != 0) {
        EXPECT_EQ(x.negative(), v.sign() < 0);
        EXPECT_EQ(x.exp(), e);
    }
}

}  // namespace divtest
