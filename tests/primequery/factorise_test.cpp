// The factorisation against its literal loop and GMP.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "numlib/m0_utilities/u128.h"
#include "q64/m5_primequery.h"
#include "reference/literal_query.h"
#include "tests/primequery/test_numbers.h"
#include "tests/primequery/test_tables.h"

namespace {

using testnum::dec;
using testnum::make;
using testtables::Table;
using u128 = unsigned __int128;

// The words of a list that its header says are in use.
std::vector<uint64_t> usedWords(const FactorList& list) {
    std::vector<uint64_t> words{list.header};
    if ((list.header >> 56) != 0xFF) return words;  // not started
    uint64_t s = factorCount(&list), c = cofactorCount(&list);
    for (uint64_t i = 0; i < s + 2 * c; ++i) words.push_back(list.word[i]);
    return words;
}

int64_t fastFactor(FactorList* list, u128 n, const Table& t) {
    return _5_prmfct(list, static_cast<uint64_t>(n), static_cast<uint64_t>(n >> 64), t.head());
}

// Compares answer and list with the literal loop; checks a full answer with
// GMP: ascending primes whose product is n.
void expectSame(u128 n, const Table& t) {
    static FactorList fast, slow;
    fast.header = slow.header = 0x1234;
    int64_t got = fastFactor(&fast, n, t);
    ASSERT_EQ(got, literal::prmfct(&slow, n, t.head())) << dec(n);
    ASSERT_EQ(usedWords(fast), usedWords(slow)) << dec(n);
    if (got < 0) return;
    u128 product = 1, previous = 0;
    for (uint64_t i = 0; i < factorCount(&fast); ++i) {
        ASSERT_GE(fast.word[i], previous);
        previous = fast.word[i];
        product *= fast.word[i];
        ASSERT_TRUE(testnum::gmpPrime(fast.word[i])) << dec(n);
    }
    if (cofactorCount(&fast) == 1) {
        u128 cofactor = make(fast.word[factorCount(&fast)], fast.word[factorCount(&fast) + 1]);
        ASSERT_GE(cofactor >> 64, 1u);
        ASSERT_TRUE(testnum::gmpPrime(cofactor));
        product *= cofactor;
    }
    ASSERT_EQ(product, n);
}

void compareAllRanges(const Table& t, int count, int heavyCount, uint64_t seed) {
    std::mt19937_64 gen(seed);
    SCOPED_TRACE(seed);
    const u128 e = t.limit(), p = t.largest(), pp = t.largestSquare(), ee = t.limitSquare();
    const u128 q = testnum::gmpNextPrime(p);
    for (u128 n = 0; n < 500; ++n) expectSame(n, t);
    for (int i = 0; i < count; ++i) {
        expectSame(testnum::between(gen, 211, e), t);
        expectSame(testnum::between(gen, e, pp), t);
        // Numbers with only small factors, of any size.
        u128 smooth = 1;
        while (smooth < (static_cast<u128>(1) << 100)) smooth *= 2 + gen() % 300;
        expectSame(smooth, t);
        // A prime factor just below or above P times a random cofactor.
        u128 r = testnum::gmpNextPrime(gen() % (4 * p));
        expectSame(r * (1 + gen() % (2 * p)), t);
        expectSame(r * r, t);
    }
    for (int i = 0; i < heavyCount; ++i) {
        expectSame(testnum::between(gen, pp, ee + 1), t);
        expectSame(testnum::between(gen, ee, make(0, 1)), t);
        expectSame(testnum::between(gen, make(0, 1), make(~0ull, ~0ull)), t);
        expectSame(testnum::gmpNextPrime(testnum::between(gen, pp, make(~0ull, ~0ull >> 1))), t);
    }
    for (u128 n : {p, p * p, p * q, p * p * p, p * p * 2, p * q * 2, q * q, e * e, pp - 1, pp + 1,
                   make(0, static_cast<uint64_t>(1) << 63), make(~0ull, ~0ull), make(~0ull - 158, ~0ull)})
        expectSame(n, t);
}

TEST(Factorise, RefusesZeroAndOneWithoutTouchingTheList) {
    const Table& t = testtables::startTable();
    FactorList list;
    list.header = 42;
    EXPECT_EQ(fastFactor(&list, 0, t), -1);
    EXPECT_EQ(fastFactor(&list, 1, t), -1);
    EXPECT_EQ(list.header, 42u);
}

TEST(Factorise, StartTableExamples) {
    const Table& t = testtables::startTable();
    FactorList list;
    auto factors = [&](u128 n) {
        int64_t rc = fastFactor(&list, n, t);
        std::vector<uint64_t> words(list.word, list.word + factorCount(&list));
        return std::make_pair(rc, words);
    };
    using V = std::vector<uint64_t>;
    EXPECT_EQ(factors(2), std::make_pair(int64_t{1}, V{2}));
    EXPECT_EQ(factors(4), std::make_pair(int64_t{2}, V{2, 2}));
    EXPECT_EQ(factors(6), std::make_pair(int64_t{2}, V{2, 3}));
    EXPECT_EQ(factors(9), std::make_pair(int64_t{2}, V{3, 3}));
    EXPECT_EQ(factors(27), std::make_pair(int64_t{3}, V{3, 3, 3}));
    EXPECT_EQ(factors(360), std::make_pair(int64_t{6}, V{2, 2, 2, 3, 3, 5}));
    EXPECT_EQ(list.header, 0xFF00000000000006u);
    EXPECT_EQ(factors(static_cast<u128>(1) << 127), std::make_pair(int64_t{127}, V(127, 2)));
    EXPECT_EQ(factors(1346833702788289u), std::make_pair(int64_t{2}, V{36699233, 36699233}));
    // P times the next prime is refused after P was divided out.
    EXPECT_EQ(factors(static_cast<u128>(36699233) * 36699251), std::make_pair(int64_t{-1}, V{36699233}));
    // A prime above the printed maximum is refused; one below it is prime.
    u128 above = testnum::gmpNextPrime(1346833702788289u);
    EXPECT_EQ(factors(above).first, -1);
    EXPECT_EQ(factors(1346833702788289u - 12 * 36699233 + 0).first,
              literal::prmfct(&list, 1346833702788289u - 12 * 36699233, t.head()));
    // Two factors near 10^7.
    EXPECT_EQ(factors(static_cast<u128>(10000019) * 10000079), std::make_pair(int64_t{2}, V{10000019, 10000079}));
}

TEST(Factorise, MatchesTheLiteralLoopOnAFiveWordTable) {
    compareAllRanges(Table({5}), 300, 300, 41);
}

TEST(Factorise, MatchesTheLiteralLoopOnChains) {
    compareAllRanges(Table({5, 5, 8}), 200, 200, 42);
    compareAllRanges(Table({200, 37, 64}), 100, 20, 43);
}

TEST(Factorise, MatchesTheLiteralLoopOnTheStartTable) {
    compareAllRanges(testtables::startTable(), 30, 1, 44);
}

TEST(Factorise, RefusalRestsOnTheFactorsUpToTheLargestPrime) {
    // P = 487 (below 2^16): trial division up to P decides, the rest above
    // P^2 stays unsplit; on the start table the rest is factored.
    Table t({5});
    const u128 q1 = testnum::gmpNextPrime(static_cast<u128>(1) << 40);
    const u128 q2 = testnum::gmpNextPrime(q1 + 1000000);
    for (u128 n : {q1 * q2, 13 * 13 * 479 * q1 * q2, 491 * q1, 487 * 491 * 499 * q1, u128{11 * 487 * 487}})
        expectSame(n, t);
    FactorList list;
    EXPECT_EQ(fastFactor(&list, 13 * 13 * 479 * q1 * q2, t), -1);
    EXPECT_EQ(std::vector<uint64_t>(list.word, list.word + factorCount(&list)), (std::vector<uint64_t>{13, 13, 479}));
    EXPECT_EQ(fastFactor(&list, 2 * 3 * q1 * q2, testtables::startTable()), -1);
    EXPECT_EQ(factorCount(&list), 2u);
    expectSame(2 * 3 * q1 * q2, testtables::startTable());
    expectSame(36699233 * q1, testtables::startTable());
}

TEST(Factorise, DivisionHelpers) {
    Q2Value rest{0, 1};  // 2^64
    EXPECT_EQ(_5_divprm(&rest, 2), 64u);
    EXPECT_EQ(rest.lo, 1u);
    EXPECT_EQ(rest.hi, 0u);
    rest = Q2Value{7, 0};
    EXPECT_EQ(_5_divprm(&rest, 2), 0u);
    u128 big = static_cast<u128>(3486784401u) * 3486784401u * 7;  // 3^40 * 7
    rest = Q2Value{static_cast<uint64_t>(big), static_cast<uint64_t>(big >> 64)};
    EXPECT_EQ(_5_divprm(&rest, 3), 40u);
    EXPECT_EQ(rest.lo, 7u);
    EXPECT_EQ(rest.hi, 0u);
    // Degenerate divisors and the rest 0 end at once.
    EXPECT_EQ(_5_divprm(&rest, 1), 0u);
    EXPECT_EQ(_5_divprm(&rest, 0), 0u);
    rest = Q2Value{0, 0};
    EXPECT_EQ(_5_divprm(&rest, 5), 0u);
    EXPECT_EQ(_5_divprm2(&rest), 0u);
    const Table& t = testtables::startTable();
    EXPECT_EQ(_5_prmfctnext(2, t.head()), 3u);
    EXPECT_EQ(_5_prmfctnext(199, t.head()), 211u);
    EXPECT_EQ(_5_prmfctnext(210, t.head()), 211u);
    EXPECT_EQ(_5_prmfctnext(36699232, t.head()), 36699233u);
    EXPECT_EQ(_5_prmfctnext(36699233, t.head()), ~uint64_t{0});
    EXPECT_EQ(_5_prmfctnext(36699251, t.head()), ~uint64_t{0});
}

}  // namespace
