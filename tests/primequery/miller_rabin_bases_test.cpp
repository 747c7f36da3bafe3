// Each of the seven bases of the reference test is needed: for each, a composite
// below 2^64 that every other base passes as a strong probable prime, so
// that dropping that base makes the test call it prime. The numbers are
// products p(2p - 1) found by a search over such products (they have many
// strong liars); GMP confirms here that exactly the one base exposes each.
#include <gmp.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "numlib/m0_utilities/prime_test64.h"
#include "tests/primequery/miller_rabin_reference.h"

namespace {

// n is a strong probable prime to base a (n odd, n > a not required).
bool strongProbablePrime(uint64_t n, uint64_t a) {
    mpz_t x, d, m, nm1;
    mpz_inits(x, d, m, nm1, nullptr);
    mpz_set_ui(m, n);
    mpz_sub_ui(nm1, m, 1);
    const unsigned long s = mpz_scan1(nm1, 0);
    mpz_tdiv_q_2exp(d, nm1, s);
    mpz_set_ui(x, a);
    mpz_mod(x, x, m);
    bool probable = mpz_sgn(x) == 0;  // a multiple of n says nothing
    if (!probable) {
        mpz_powm(x, x, d, m);
        probable = mpz_cmp_ui(x, 1) == 0 || mpz_cmp(x, nm1) == 0;
        for (unsigned long i = 1; i < s && !probable; ++i) {
            mpz_powm_ui(x, x, 2, m);
            probable = mpz_cmp(x, nm1) == 0;
        }
    }
    mpz_clears(x, d, m, nm1, nullptr);
    return probable;
}

TEST(MillerRabinBases, EachOfTheSevenBasesIsNeeded) {
    struct Case {
        uint64_t base, n, factor;
    };
    const Case cases[] = {
        {2, 1921077350011, 980071},           {325, 1411807385341, 840181},
        {9375, 443538368977861, 14891917},    {28178, 4341937413061, 1473421},
        {450775, 5517315475561, 1660921},     {9780504, 6955596610077781, 58972861},
        {1795265022, 107528788110061, 7332421},
    };
    for (uint64_t base : mrreference::kBases64)
        EXPECT_TRUE(std::any_of(std::begin(cases), std::end(cases), [&](const Case& c) { return c.base == base; }))
            << "no number that only base " << base << " exposes";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.n);
        ASSERT_EQ(c.n % c.factor, 0u);
        ASSERT_EQ(c.n / c.factor, 2 * c.factor - 1);
        for (uint64_t a : mrreference::kBases64) EXPECT_EQ(strongProbablePrime(c.n, a), a != c.base) << "base " << a;
        EXPECT_FALSE(wordmath::isPrime64(c.n));
        EXPECT_FALSE(mrreference::millerRabin7(c.n));
    }
}

}  // namespace
