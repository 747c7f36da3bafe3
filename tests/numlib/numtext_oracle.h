// Test support for the text conversions: the expected texts built from GMP's
// exact values, and the library's texts written into heap buffers of exactly
// the size the library asks for (AddressSanitizer sees a one-byte overrun).
#pragma once

#include <gmp.h>

#include <cstring>
#include <string>
#include <vector>

#include "q64/m4_petadigits.h"
#include "q64/m9_numrec.h"
#include "q64/ma_alloctext.h"
#include "tests/numlib/numrec_oracle.h"

namespace nttest {

using nrtest::Q;
using nrtest::Rec;
using nrtest::Z;

inline std::string decimal(const Z& z) {
    std::vector<char> buf(mpz_sizeinbase(z, 10) + 2);
    mpz_get_str(buf.data(), 10, z);
    return buf.data();
}

inline std::string decimal128(__int128 x) {
    const bool neg = x < 0;
    unsigned __int128 m = neg ? -static_cast<unsigned __int128>(x) : static_cast<unsigned __int128>(x);
    std::string s;
    do {
        s.insert(s.begin(), static_cast<char>('0' + static_cast<int>(m % 10)));
        m /= 10;
    } while (m != 0);
    return std::string(neg ? "-" : "+").append(s);
}

// The sign character as a string to append to (GCC 12 warns, falsely, on
// a literal + std::string).
inline std::string signOf(const Rec& r) { return r.negative() ? "-" : "+"; }

// The plain form from the exact value: the integer part and, for e < 0, the
// fraction of exactly 16|e| digits, both from one GMP division.
inline std::string plainOracle(const Rec& r) {
    Z m = r.mantissa();
    if (m.sign() == 0) return "0";
    const int64_t e = r.exp();
    if (e >= 0) {
        mpz_mul(m, m, nrtest::petaPower(static_cast<uint64_t>(e)));
        return signOf(r).append(decimal(m));
    }
    const uint64_t f = 16 * static_cast<uint64_t>(-e);
    Z q, rem;
    mpz_tdiv_qr(q, rem, m, nrtest::petaPower(static_cast<uint64_t>(-e)));
    std::string fraction = decimal(rem);
    fraction.insert(0, f - fraction.size(), '0');
    return signOf(r).append(decimal(q)).append(".").append(fraction);
}

// The d-digit form (d < 0: all digits, the plain exponent form) from the
// digits of M and X = 16e + k - 1.
inline std::string exponentOracle(const Rec& r, int64_t d = -1) {
    const Z m = r.mantissa();
    if (m.sign() == 0) {
        if (d < 0) return signOf(r).append("0.0");
        if (d <= 1) return signOf(r).append("0");
        return signOf(r).append("0.").append(static_cast<size_t>(d - 1), '0').append("e0");
    }
    const std::string digits = decimal(m);
    const __int128 x = static_cast<__int128>(16) * r.exp() + static_cast<__int128>(digits.size()) - 1;
    std::string tail = digits.substr(1);
    if (d >= 0) {
        const size_t keep = d >= 1 ? static_cast<size_t>(d - 1) : 0;
        tail = tail.substr(0, std::min(keep, tail.size()));
        tail.append(keep - tail.size(), '0');
    }
    const std::string point = d == 0 ? "" : ".";
    return signOf(r).append(digits, 0, 1).append(point).append(tail).append("e").append(decimal128(x));
}

// The library's texts, each from a copy of the record.
inline std::string plainText(const Rec& r) {
    Rec copy = r;
    std::vector<char> buf(_a_prdsize(copy.p()));
    _a_numtostr(buf.data(), copy.p());
    return buf.data();
}
inline std::string exponentText(const Rec& r) {
    Rec copy = r;
    std::vector<char> buf(nrtest::wordsOf(copy.mantissa()) * 20 + 26);
    const Q2Value t = _a_numtoestr(buf.data(), copy.p());
    const std::string s = buf.data();
    const uint64_t length = r.mantissa().sign() == 0 ? 0 : s.size();
    if (t.hi != length) return "length " + std::to_string(t.hi) + " for " + s;
    return s;
}
inline std::string digitsText(const Rec& r, uint64_t d) {
    Rec copy = r;
    const uint64_t c = (d + 15) / 16 + 1;
    std::vector<char> buf(std::max<uint64_t>(16 * c + 27, d + 26));
    return _a_numtoestrn(buf.data(), d, copy.p());
}

// A record read from text into an area of exactly the words _a_struztor asks
// for; the result in *status.
inline Rec readText(const std::string& text, int64_t* status) {
    const uint64_t l = _4_ndsize(text.c_str(), text.size()) + 2;
    Rec r(false, 0, {}, l);
    *status = _a_struztor(r.p(), 0, text.c_str());
    return r;
}

inline bool sameValue(const uint64_t* a, const uint64_t* b) {
    Q qa, qb;
    nrtest::valueOf(qa, a);
    nrtest::valueOf(qb, b);
    return mpq_equal(qa, qb) != 0;
}

}  // namespace nttest
