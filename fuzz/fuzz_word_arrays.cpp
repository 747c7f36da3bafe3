// Fuzz target: the word-array routines (_1_) on operands of 1 to several
// thousand words, against GMP. Each input is a list of operations; operands
// are stretched from a seed in the input, so short inputs reach the sizes
// where fast multiplication and division methods take over. Every call gets
// arrays of exactly the words its contract names (AddressSanitizer sees one
// word too many), in place where the contract writes in place, and leaves the
// working stack as it found it.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "numlib/m2_scratch/scratch_area.h"
#include "q64/m1_wordarrays.h"
#include "tests/numlib/gmp_support.h"

namespace {

using Words = std::vector<uint64_t>;  // most significant word first

// Operand sizes up to this many words (a 4096-word product takes a few tens
// of milliseconds with the schoolbook method under the sanitizers).
constexpr uint64_t kMaxWords = 4096;

using gmptest::Z;

// z modulo 2^(64n) as n words.
Words wordsOf(mpz_srcptr z, size_t n) {
    Z low;
    mpz_fdiv_r_2exp(low, z, 64 * n);
    Words out(n, 0);
    size_t count = (mpz_sizeinbase(low, 2) + 63) / 64;
    Words buf(count + 1, 0);
    size_t written = 0;
    mpz_export(buf.data(), &written, 1, sizeof(uint64_t), 0, 0, low);
    for (size_t i = 0; i < written; ++i) out[n - written + i] = buf[i];
    return out;
}

bool fits(mpz_srcptr z, size_t n) { return mpz_sgn(z) == 0 || mpz_sizeinbase(z, 2) <= 64 * n; }

// A size class from one byte: mostly small, often around one hundred words,
// sometimes thousands.
uint64_t size(fuzz::Bytes& in) {
    uint8_t b = in.byte();
    switch (b >> 5) {
        case 0: case 1: case 2: return 1 + (b & 7);
        case 3: case 4: return 1 + in.below(128);
        case 5: return 1 + in.below(1024);
        default: return 1 + in.below(kMaxWords);
    }
}

// An operand of n words: its shape and seed from the input; a few leading
// zero words sometimes.
Words operand(fuzz::Bytes& in, uint64_t n) {
    uint8_t shape = in.byte();
    fuzz::Stretch s(in.word());
    Words w(n);
    for (uint64_t i = 0; i < n; ++i) w[i] = s.shaped((shape & 8) ? shape : static_cast<unsigned>(s.next() >> 61));
    uint64_t zeros = (shape >> 4) & 3;
    for (uint64_t i = 0; i < zeros && i < n; ++i) w[i] = 0;
    if ((shape >> 6) == 3 && n) w[0] = ~uint64_t{0};
    return w;
}

uint64_t workingUsed() { return scratch::area[scratch::kWorkingBounds] & 0xFFFFFFFFu; }

size_t leadingZeros(const Words& w) {
    size_t z = 0;
    while (z < w.size() && w[z] == 0) ++z;
    return z;
}

void addSub(fuzz::Bytes& in, bool add) {
    uint64_t na = size(in), nb = 1 + in.below(na);
    Words a = operand(in, na), b = operand(in, nb);
    Z za(a), zb(b), want;
    add ? mpz_add(want, za, zb) : mpz_sub(want, za, zb);
    int64_t r = add ? _1_add(a.data(), na, b.data(), nb) : _1_sub(a.data(), na, b.data(), nb);
    FUZZ_CHECK(r == (add ? (fits(want, na) ? 0 : 1) : (mpz_sgn(want) < 0 ? -1 : 0)));
    FUZZ_CHECK(a == wordsOf(want, na));
}

void addSubOne(fuzz::Bytes& in, bool add) {
    uint64_t n = size(in), k = 1 + in.below(n);
    uint64_t x = in.word();
    Words a = operand(in, n);
    Z want(a.data(), k), zx(&x, 1);
    add ? mpz_add(want, want, zx) : mpz_sub(want, want, zx);
    Words tail(a.begin() + k, a.end());
    int64_t r = add ? _1_addn(a.data(), k, x) : _1_subn(a.data(), k, x);
    FUZZ_CHECK(r == (add ? (fits(want, k) ? 0 : 1) : (mpz_sgn(want) < 0 ? -1 : 0)));
    Words front = wordsOf(want, k);
    FUZZ_CHECK(std::equal(front.begin(), front.end(), a.begin()));
    FUZZ_CHECK(std::equal(tail.begin(), tail.end(), a.begin() + k));
}

void negate(fuzz::Bytes& in) {
    uint64_t n = size(in);
    Words a = operand(in, n);
    Z za(a), want;
    mpz_neg(want, za);
    int64_t r = _1_neg(a.data(), n);
    FUZZ_CHECK(r == (mpz_sgn(za) == 0 ? 1 : 0));
    FUZZ_CHECK(a == wordsOf(want, n));
}

void multiply(fuzz::Bytes& in) {
    uint64_t nr = size(in), na = size(in);
    Words r = operand(in, nr), a = operand(in, na);
    Z zr(r), za(a), want;
    mpz_mul(want, zr, za);
    r.resize(nr + na);  // room for the product, written in place over R
    FUZZ_CHECK(_1_mul(r.data(), nr, a.data(), na) == nr + na);
    FUZZ_CHECK(r == wordsOf(want, nr + na));
}

void multiplyOne(fuzz::Bytes& in, int kind) {
    uint64_t n = size(in);
    uint64_t m = in.word();
    Words a = operand(in, n);
    Z za(a), want;
    if (kind == 0) {  // r[0..n] += A * m
        Words r = operand(in, n + 1);
        Z zr(r);
        mpz_addmul_ui(zr, za, m);
        FUZZ_CHECK(_1_mul1n(r.data(), a.data(), n, m) == n + 1);
        FUZZ_CHECK(r == wordsOf(zr, n + 1));
        return;
    }
    if (kind == 2) m %= 20;  // a power of ten that fits one word
    Z zm;
    if (kind == 1) mpz_set_ui(zm, m);
    else mpz_ui_pow_ui(zm, 10, m);
    mpz_mul(want, za, zm);
    a.push_back(in.word());  // a[n] is written
    uint64_t r = kind == 1 ? _1_muln(a.data(), n, m) : _1_mul10n(a.data(), n, m);
    FUZZ_CHECK(r == n + 1);
    FUZZ_CHECK(a == wordsOf(want, n + 1));
}

void divideOne(fuzz::Bytes& in) {
    uint64_t n = size(in);
    uint64_t d = in.word() >> (in.byte() & 63);
    if (d == 0) d = 1;
    Words a = operand(in, n);
    Z za(a), q;
    uint64_t rem = mpz_fdiv_q_ui(q, za, d);
    FUZZ_CHECK(_1_div1n(a.data(), n, d) == rem);
    FUZZ_CHECK(a == wordsOf(q, n));
}

// _1_div's statuses in the order its contract gives them.
void divide(fuzz::Bytes& in) {
    uint64_t na = size(in), nb = (in.byte() & 1) ? size(in) : 1 + in.below(na);
    Words a = operand(in, na), b = operand(in, nb);
    if (in.byte() & 1 && na > 1) a[0] = 0;  // room for the quotient's first word
    const Words before = a;
    const size_t nbs = nb - leadingZeros(b);
    Z za(a), zb(b);
    int64_t want;
    if (nbs == 0) {
        want = -1;
    } else if (a[0] != 0 && na >= nbs && (na == nbs || mpz_cmp(Z(a.data(), nbs), zb) >= 0)) {
        want = -9;
    } else if (na - leadingZeros(a) < nbs || (na - leadingZeros(a) == nbs && mpz_cmp(za, zb) < 0)) {
        want = 0;
    } else {
        want = static_cast<int64_t>(na - nbs);
    }
    int64_t r = _1_div(a.data(), na, b.data(), nb);
    FUZZ_CHECK(r == want);
    if (want <= 0) {
        FUZZ_CHECK(a == before);
        return;
    }
    Z q, rem;
    mpz_tdiv_qr(q, rem, za, zb);
    FUZZ_CHECK(fits(q, na - nbs));
    Words quotient = wordsOf(q, na - nbs), remainder = wordsOf(rem, nbs);
    FUZZ_CHECK(std::equal(quotient.begin(), quotient.end(), a.begin()));
    FUZZ_CHECK(std::equal(remainder.begin(), remainder.end(), a.begin() + (na - nbs)));
}

// W -= B * q, and W -= B * 2^k (W: nb + 1 words).
void subtractMultiple(fuzz::Bytes& in, bool shift) {
    uint64_t nb = size(in);
    uint64_t q = shift ? in.byte() & 63 : in.word();
    Words w = operand(in, nb + 1), b = operand(in, nb);
    Z zw(w), zb(b), zq;
    if (shift) mpz_setbit(zq, q);
    else mpz_set_ui(zq, q);
    mpz_submul(zw, zb, zq);
    int64_t r = shift ? _1_sub122n(w.data(), b.data(), nb, q) : _1_sub12n(w.data(), b.data(), nb, q);
    FUZZ_CHECK(r == (mpz_sgn(zw) < 0 ? -1 : 0));
    FUZZ_CHECK(w == wordsOf(zw, nb + 1));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Bytes in(data, size);
    const uint64_t used = workingUsed();
    for (int steps = 0; steps < 8 && in.left() > 0; ++steps) {
        switch (in.byte() % 12) {
            case 0: addSub(in, true); break;
            case 1: addSub(in, false); break;
            case 2: addSubOne(in, true); break;
            case 3: addSubOne(in, false); break;
            case 4: negate(in); break;
            case 5: multiply(in); break;
            case 6: multiplyOne(in, 0); break;
            case 7: multiplyOne(in, 1); break;
            case 8: multiplyOne(in, 2); break;
            case 9: divideOne(in); break;
            case 10: divide(in); break;
            default: subtractMultiple(in, in.byte() & 1); break;
        }
        FUZZ_CHECK(workingUsed() == used);
    }
    return 0;
}
