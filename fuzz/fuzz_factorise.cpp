// Fuzz target: the routines without a table (_5_prmfctx, _5_primetstx,
// _5_prmnextx, _5_prmprevx) on numbers below 2^128. Each nine bytes of the
// input choose a number's shape (a word pattern, a product of up to four
// primes of chosen sizes, a power, a number next to a power of two) and a
// seed for its values, so that mutations reach every method of the
// factorisation. Checked: the list holds ascending primes whose product
// is n, each prime by an independent test (below 2^64 the seven-base
// Miller-Rabin, above it GMP's test with 50 rounds); the verdict agrees; the
// next and previous primes are GMP's.
#include <gmp.h>

#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "q64/m5_primequery.h"
#include "tests/primequery/miller_rabin_reference.h"
#include "tests/primequery/test_numbers.h"

namespace {

using u128 = unsigned __int128;

uint64_t lo(u128 x) { return static_cast<uint64_t>(x); }
uint64_t hi(u128 x) { return static_cast<uint64_t>(x >> 64); }
using testnum::make;

bool independentPrime(u128 p) {
    if (hi(p) == 0) return mrreference::millerRabin7(lo(p));
    testnum::Mpz z(p);
    return mpz_probab_prime_p(z.ptr(), 50) != 0;
}

// The prime after x - 1 (below 2^128 here).
u128 primeFrom(u128 x) { return testnum::gmpNextPrime(x - 1); }

// A number of the shape the first byte asks for, its words stretched from a
// seed of up to eight further bytes, so that short inputs reach every size.
u128 numberOf(fuzz::Bytes& in) {
    const uint8_t shape = in.byte();
    fuzz::Stretch s(in.word());
    auto below = [&s](uint64_t n) { return s.next() % n; };
    switch (shape % 4) {
        case 0: {  // a word pattern of any length
            const u128 n = make(s.shaped(shape >> 2), s.shaped(shape >> 5));
            return n >> below(128);
        }
        case 1: {  // primes of chosen sizes, while the product fits
            u128 n = 1;
            for (int k = 0; k < 1 + (shape >> 6); ++k) {
                const int bits = 2 + static_cast<int>(below(63));
                const u128 p = primeFrom(make(s.next(), 0) >> (64 - bits) | (u128{1} << (bits - 1)));
                if (n > ~u128{0} / p) break;
                n *= p;
            }
            return n;
        }
        case 2: {  // a power
            const u128 r = 2 + (make(s.next(), 0) >> below(62));
            const unsigned k = 2 + static_cast<unsigned>(below(6));
            u128 n = 1;
            for (unsigned e = 0; e < k && n <= ~u128{0} / r; ++e) n *= r;
            return n;
        }
        default: {  // next to a power of two
            const u128 top = u128{1} << below(128);
            const uint64_t d = below(4096);
            return shape & 4 ? top - d : top + d;
        }
    }
}

void checkFactorisation(u128 n) {
    static FactorList list;
    const int64_t count = _5_prmfctx(&list, lo(n), hi(n));
    const int64_t verdict = _5_primetstx(lo(n), hi(n));
    if (n < 2) {
        FUZZ_CHECK(count == -1 && verdict == -1);
        return;
    }
    FUZZ_CHECK(count == static_cast<int64_t>(factorCount(&list) + cofactorCount(&list)));
    u128 product = 1;
    for (uint64_t i = 0; i < factorCount(&list); ++i) {
        FUZZ_CHECK(i == 0 || list.word[i - 1] <= list.word[i]);
        FUZZ_CHECK(independentPrime(list.word[i]));
        product *= list.word[i];
    }
    if (cofactorCount(&list) == 1) {
        const u128 cofactor = make(list.word[factorCount(&list)], list.word[factorCount(&list) + 1]);
        FUZZ_CHECK(hi(cofactor) != 0 && independentPrime(cofactor));
        product *= cofactor;
    }
    FUZZ_CHECK(product == n);
    FUZZ_CHECK((verdict == 0) == (count == 1));
}

void checkNeighbours(u128 n) {
    const u128 largest = ~u128{0} - 158;
    const Q2Value next = _5_prmnextx(lo(n), hi(n));
    if (n >= largest) {
        FUZZ_CHECK(next.lo == ~uint64_t{0} && next.hi == ~uint64_t{0});
    } else {
        FUZZ_CHECK(make(next.lo, next.hi) == primeFrom(n + 1));
    }
    const Q2Value previous = _5_prmprevx(lo(n), hi(n));
    if (n <= 2) {
        FUZZ_CHECK(previous.lo == ~uint64_t{0} && previous.hi == ~uint64_t{0});
        return;
    }
    const u128 p = make(previous.lo, previous.hi);
    FUZZ_CHECK(p < n && independentPrime(p));
    FUZZ_CHECK(p == largest || primeFrom(p + 1) >= n);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Bytes in(data, size);
    while (in.left() > 0) {
        const u128 n = numberOf(in);
        checkFactorisation(n);
        checkNeighbours(n);
    }
    return 0;
}
