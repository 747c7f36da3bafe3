// The assembly kernels against the portable loops they stand for, at every
// length from 0 to 70 words, with the overlaps the kernels allow.
#include <gtest/gtest.h>

#include "numlib/m1_wordarrays/kernels.h"
#include "tests/numlib/gmp_support.h"

using namespace gmptest;

namespace {

#if defined(__x86_64__)
TEST(Kernels, AssemblyEqualsThePortableLoops) {
    for (uint64_t n = 0; n <= 70; ++n) {
        SCOPED_TRACE(testing::Message() << "n " << n);
        forEachSeed(4, [&](Gen& g) {
            const Words a = g.operand(n + 1), b = g.operand(n + 1), r = g.operand(n + 1);
            const uint64_t m = g.edgeWord();
            auto both = [&](auto fast, auto slow, Words x, Words y, auto... args) {
                EXPECT_EQ(fast(x.data(), args...), slow(y.data(), args...));
                EXPECT_EQ(x, y);
            };
            both(m1::x86::addN, m1::portable::addN, r, r, a.data(), b.data(), n);
            both(m1::x86::subN, m1::portable::subN, r, r, a.data(), b.data(), n);
            // r may be a (or b) itself.
            Words x = a, y = a;
            EXPECT_EQ(m1::x86::addN(x.data(), x.data(), b.data(), n),
                      m1::portable::addN(y.data(), y.data(), b.data(), n));
            EXPECT_EQ(m1::x86::subN(x.data(), b.data(), x.data(), n),
                      m1::portable::subN(y.data(), b.data(), y.data(), n));
            EXPECT_EQ(x, y);
            if (!m1::x86::hasMulx) return;
            both(m1::x86::mul1, m1::portable::mul1, r, r, a.data(), n, m);
            both(m1::x86::addMul1, m1::portable::addMul1, r, r, a.data(), n, m);
            both(m1::x86::subMul1, m1::portable::subMul1, r, r, a.data(), n, m);
            // mul1 in place, and one word further on as _1_muln has it.
            x = a, y = a;
            EXPECT_EQ(m1::x86::mul1(x.data(), x.data(), n, m), m1::portable::mul1(y.data(), y.data(), n, m));
            EXPECT_EQ(m1::x86::mul1(x.data() + 1, x.data(), n, m), m1::portable::mul1(y.data() + 1, y.data(), n, m));
            EXPECT_EQ(x, y);
        });
        if (HasFailure()) return;
    }
}
#endif

// The portable loops against GMP, which makes them a fair reference.
TEST(Kernels, PortableLoopsAgainstGmp) {
    forEachSeed(300, [&](Gen& g) {
        const uint64_t n = 1 + g.below(40), m = g.edgeWord();
        const Words a = g.operand(n), b = g.operand(n);
        Words r = b;
        const uint64_t carry = m1::portable::addMul1(r.data(), a.data(), n, m);
        Z want;
        mpz_mul_ui(want, Z(a), m);
        mpz_add(want, want, Z(b));
        Words got{carry};
        got.insert(got.end(), r.begin(), r.end());
        EXPECT_EQ(got, toWords(want, n + 1));
        r = b;
        const uint64_t borrow = m1::portable::subMul1(r.data(), a.data(), n, m);
        Z diff;
        mpz_mul_ui(diff, Z(a), m);
        mpz_sub(diff, Z(b), diff);
        EXPECT_EQ(r, toWords(diff, n));
        Z back(r);
        mpz_sub(back, back, diff);  // borrow * 2^(64n)
        mpz_tdiv_q_2exp(back, back, 64 * n);
        EXPECT_EQ(borrow, mpz_get_ui(back));
    });
}

}  // namespace
