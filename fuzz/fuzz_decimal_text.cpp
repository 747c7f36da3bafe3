// Fuzz target: decimal text to number record and back (_a_struztor/_a_strtor,
// _a_numtostr, _a_numtoestr, _a_numtoestrn, _a_prtnum) and the record
// arithmetic (_b_mul, _b_add, _b_sub) on what was read, against GMP's exact
// values. A text comes either literally from the input (the grammar) or is
// generated from a few input bytes with up to 80,000 digits (some 4,000
// words), so the methods that take over at large sizes are reached.
#include <gmp.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "q64/m2_scratch.h"
#include "q64/mb_arithmetic.h"
#include "tests/numlib/numtext_oracle.h"

namespace {

using nrtest::Q;
using nrtest::Rec;
using nrtest::Z;

// Digit counts: mostly short, sometimes hundreds or thousands, now and then
// tens of thousands (rarely: the plain methods take seconds there under the
// sanitizers).
uint64_t digitCount(fuzz::Bytes& in) {
    uint8_t b = in.byte();
    switch (b >> 6) {
        case 0: case 1: return b & 31;
        case 2: return in.below(600);
        default: return (b & 15) == 0 ? in.below(80000) : in.below(3000);
    }
}

std::string digits(fuzz::Stretch& s, uint64_t n, uint8_t shape) {
    std::string t(n, '0');
    for (uint64_t i = 0; i < n; ++i) {
        uint64_t r = s.next();
        switch (shape & 3) {
            case 0: t[i] = static_cast<char>('0' + r % 10); break;
            case 1: t[i] = (r & 7) ? '9' : static_cast<char>('0' + r % 10); break;  // runs of nines
            case 2: t[i] = (r & 7) ? '0' : static_cast<char>('0' + r % 10); break;  // runs of zeros
            default: t[i] = i < n / 2 ? '0' : static_cast<char>('0' + r % 10); break;
        }
    }
    return t;
}

// A text in or near the input form: [sign] digits [. digits] [(e|E) [sign] digits].
std::string generatedText(fuzz::Bytes& in) {
    uint8_t form = in.byte();
    fuzz::Stretch s(in.word());
    std::string t;
    if (form & 3) t += (form & 3) == 1 ? '+' : '-';
    t += digits(s, digitCount(in), form >> 2);
    if (form & 16) t += '.' + digits(s, digitCount(in), form >> 3);
    if (form & 32) {
        t += (form & 64) ? 'e' : 'E';
        uint8_t e = in.byte();
        if (e & 3) t += (e & 3) == 1 ? '+' : '-';
        t += (e & 4) ? std::to_string(in.word() >> (e >> 2)) : std::to_string(in.below(400));
    }
    if (form & 128) {  // a stray byte somewhere
        const uint8_t stray = in.byte();
        t.insert(t.begin() + static_cast<std::ptrdiff_t>(in.below(t.size() + 1)), static_cast<char>(stray ? stray : 'x'));
    }
    return t;
}

std::string text(fuzz::Bytes& in) {
    if (in.byte() & 1) return generatedText(in);
    std::string t;
    for (uint64_t n = in.below(256); n > 0; --n) t += static_cast<char>(in.byte());
    return t.substr(0, t.find('\0'));
}

// The verdict and value of a text by the input form itself, independent of
// the reader. Exponents from 2^62 to 2^68 may or may not overflow the record's
// exponent: their verdict is not checked (-2).
struct Expected {
    int64_t status;
    bool valueKnown;  // the exponent is small enough for GMP to form the value
    Q value;
};

void expect(const std::string& t, Expected& x) {
    auto digitsFrom = [&](size_t i) {
        while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i;
        return i;
    };
    x.status = -1;
    x.valueKnown = false;
    size_t i = 0;
    const bool negative = i < t.size() && t[i] == '-';
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
    const size_t start = i;
    i = digitsFrom(i);
    const size_t wholeEnd = i;
    size_t fractionStart = i, fractionEnd = i;
    if (i < t.size() && t[i] == '.') {
        fractionStart = i + 1;
        fractionEnd = i = digitsFrom(i + 1);
    }
    if (i == start) return;
    Z exponent;
    if (i < t.size()) {
        if (t[i] != 'e' && t[i] != 'E') return;
        ++i;
        const bool negativeExponent = i < t.size() && t[i] == '-';
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
        const size_t from = i;
        if ((i = digitsFrom(i)) != t.size()) return;
        if (from < t.size()) mpz_set_str(exponent, t.substr(from).c_str(), 10);
        Z low, high;
        mpz_ui_pow_ui(low, 2, 62);
        mpz_ui_pow_ui(high, 2, 68);
        if (mpz_cmp(exponent, high) >= 0) return;
        if (mpz_cmp(exponent, low) >= 0) {
            x.status = -2;
            return;
        }
        if (negativeExponent) mpz_neg(exponent, exponent);
    }
    x.status = 0;
    if (mpz_cmpabs_ui(exponent, 200000) > 0) return;
    const std::string all = t.substr(start, wholeEnd - start) + t.substr(fractionStart, fractionEnd - fractionStart);
    Z num, den(1), power;
    if (all.find_first_not_of('0') != std::string::npos) mpz_set_str(num, all.c_str(), 10);
    const int64_t scale = mpz_get_si(exponent) - static_cast<int64_t>(fractionEnd - fractionStart);
    mpz_ui_pow_ui(power, 10, static_cast<unsigned long>(scale < 0 ? -scale : scale));
    if (scale >= 0) mpz_mul(num, num, power);
    else mpz_set(den, power);
    if (negative) mpz_neg(num, num);
    mpq_set_num(x.value, num);
    mpq_set_den(x.value, den);
    mpq_canonicalize(x.value);
    x.valueKnown = true;
}

bool hasValue(const Rec& r, mpq_srcptr want) {
    Q got;
    nrtest::valueOf(got, r.w.data());
    return mpq_equal(got, want) != 0;
}

// The written forms of r against the texts of its exact value.
void checkTexts(const Rec& r, uint64_t d) {
    const uint64_t size = _a_prdsize(r.w.data());
    const std::string exponentForm = nttest::exponentOracle(r);
    FUZZ_CHECK(nttest::exponentText(r) == exponentForm);
    FUZZ_CHECK(nttest::digitsText(r, d) == nttest::exponentOracle(r, static_cast<int64_t>(d)));
    if (size > (1u << 20)) return;  // the plain text of a far exponent
    const std::string plain = nttest::plainOracle(r);
    FUZZ_CHECK(size >= plain.size() + 1);
    FUZZ_CHECK(nttest::plainText(r) == plain);
    Rec copy = r;
    const char* printed = _a_prtnum(copy.p());
    FUZZ_CHECK(copy.w == r.w);
    if (printed) FUZZ_CHECK(plain == printed);
    else FUZZ_CHECK(size > 16384 || r.lenl() + size / 8 + 16 > static_cast<uint64_t>(_2_left()));
    // The plain form reads back to the same value (a zero of any exponent
    // reads back as zero).
    int64_t status = 1;
    Rec back = nttest::readText(plain, &status);
    FUZZ_CHECK(status == 0);
    if (r.mantissa().sign() == 0) FUZZ_CHECK(back.mantissa().sign() == 0);
    else FUZZ_CHECK(nttest::sameValue(back.p(), r.w.data()));
}

// x * y exactly, x + y and x - y when the exponents agree, into records
// with room for the exact result.
void checkArithmetic(const Rec& x, const Rec& y, mpq_srcptr vx, mpq_srcptr vy, uint64_t d) {
    const nrtest::Words mx = x.mantissaWords();
    Rec product(x.negative(), x.exp(), mx, x.lenv() + y.lenv() + 2 + (d & 3));
    Rec yCopy = y;
    int64_t sum;
    const bool overflow = __builtin_add_overflow(x.exp(), y.exp(), &sum) || sum == INT64_MIN;
    const int64_t status = _b_mul(product.p(), yCopy.p());
    FUZZ_CHECK(yCopy.w == y.w && product.guardsIntact());
    if (status == 0) {
        Q want;
        mpq_mul(want, vx, vy);
        FUZZ_CHECK(hasValue(product, want));
        checkTexts(product, d);
    } else {
        FUZZ_CHECK(status == -1 && overflow && x.lenv() != 0 && y.lenv() != 0);
    }
    for (bool add : {true, false}) {
        Rec result(x.negative(), x.exp(), mx, std::max(x.lenv(), y.lenv()) + 3);
        const int64_t r = add ? _b_add(result.p(), yCopy.p()) : _b_sub(result.p(), yCopy.p());
        FUZZ_CHECK(result.guardsIntact());
        if (x.exp() != y.exp()) {
            FUZZ_CHECK(r == -1 && result.mantissaWords() == mx);
            continue;
        }
        FUZZ_CHECK(r == 0);
        Q want;
        add ? mpq_add(want, vx, vy) : mpq_sub(want, vx, vy);
        FUZZ_CHECK(hasValue(result, want));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Bytes in(data, size);
    const uint64_t used = nrtest::workingUsed();
    const std::string ta = text(in), tb = text(in);
    const uint64_t d = in.below(1200);
    Expected ea, eb;
    expect(ta, ea);
    expect(tb, eb);
    int64_t sa = 1, sb = 1;
    Rec a = nttest::readText(ta, &sa), b = nttest::readText(tb, &sb);
    FUZZ_CHECK(a.guardsIntact() && b.guardsIntact());
    FUZZ_CHECK(nrtest::workingUsed() == used);
    FUZZ_CHECK(ea.status == -2 ? (sa == 0 || sa == -1) : sa == ea.status);
    FUZZ_CHECK(eb.status == -2 ? (sb == 0 || sb == -1) : sb == eb.status);
    if (sa != 0) return 0;
    if (ea.valueKnown) FUZZ_CHECK(hasValue(a, ea.value));
    checkTexts(a, d);
    if (sb == 0 && ea.valueKnown && eb.valueKnown) {
        FUZZ_CHECK(hasValue(b, eb.value));
        checkArithmetic(a, b, ea.value, eb.value, d);
    }
    FUZZ_CHECK(nrtest::workingUsed() == used);
    return 0;
}
