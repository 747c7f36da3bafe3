// Table statistics, and the table's bits against primality itself.
#include <gmp.h>
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "primetable/table_words.h"
#include "q64/m5_primetable.h"
#include "reference/literal_sieve.h"
#include "tests/primetable/table_fixture.h"

namespace {

TEST(Stats, StartTable) {
    testtable::Chain start = testtable::newTable(table::kStartBlockWords);
    EXPECT_EQ(_5_prmtqsize(start.head()), 131072);
    EXPECT_EQ(_5_prmtcnt(start.head()), 2244426);
    Q2Value max = _5_prmtmax(start.head());
    EXPECT_EQ(max.lo, 36699233u);
    EXPECT_EQ(max.hi, 0u);
}

TEST(Stats, SmallTablesAndChains) {
    testtable::Chain five = testtable::newTable(5);
    EXPECT_EQ(_5_prmtqsize(five.head()), 5);
    EXPECT_EQ(_5_prmtcnt(five.head()), 93);
    EXPECT_EQ(_5_prmtmax(five.head()).lo, 487u);
    testtable::Chain chain = testtable::buildChain({5, 5, 8});
    EXPECT_EQ(_5_prmtqsize(chain.head()), 18);
    EXPECT_EQ(_5_prmtcnt(chain.head()), 290);
    EXPECT_EQ(_5_prmtmax(chain.head()).lo, 1889u);
}

// The largest prime below n by trial division.
uint64_t primeBelow(uint64_t n) {
    for (uint64_t m = n - 1;; --m) {
        bool prime = m > 1;
        for (uint64_t d = 2; d * d <= m && prime; ++d) prime = m % d != 0;
        if (prime) return m;
    }
}

TEST(Stats, LargestPrimeIsFoundBehindATrailingWordOfComposites) {
    testtable::Chain table = testtable::newTable(1000);
    uint64_t last = table.head()[0] - 1;  // the last bitmap word
    table.head()[last] = ~uint64_t{0};
    uint64_t firstOfLastWord = _5_postonum(64 * (last - 3)).lo;
    EXPECT_EQ(_5_prmtmax(table.head()).lo, primeBelow(firstOfLastWord));
    // The same across blocks: a last block without a clear bit at all.
    testtable::Chain chain = testtable::buildChain({1000, 6});
    chain.blocks[1][3] = chain.blocks[1][4] = ~uint64_t{0};
    EXPECT_EQ(_5_prmtmax(chain.head()).lo, _5_prmtmax(testtable::newTable(1000).head()).lo);
    // And a block whose last words are full but whose earlier word is not.
    testtable::Chain two = testtable::buildChain({1000, 7});
    two.blocks[1][4] = two.blocks[1][5] = ~uint64_t{0};
    int lowestClear = __builtin_ctzll(~two.blocks[1][3]);
    EXPECT_EQ(_5_prmtmax(two.head()).lo, _5_postonum(64 * 996 + 63 - static_cast<uint64_t>(lowestClear)).lo);
}

TEST(Primality, EveryBitOfTheStartTableAgainstAPlainSieve) {
    testtable::Chain start = testtable::newTable(table::kStartBlockWords);
    const uint64_t limit = start.head()[table::kLimit];
    std::vector<char> sieve(limit + 1, 0);
    char* composite = sieve.data();  // raw access keeps the sanitizer build quick
    for (uint64_t p = 2; p * p <= limit; ++p)
        if (!composite[p])
            for (uint64_t m = p * p; m <= limit; m += p) composite[m] = 1;
    uint64_t below = 0;
    for (uint64_t n = 2; n <= limit; ++n) below += !composite[n];
    EXPECT_EQ(below, 2244427u);  // pi(36699251): the limit itself is prime
    EXPECT_EQ(composite[limit], 0);
    const uint64_t* bitmap = start.head() + 3;
    for (uint64_t p = 0; p < 64 * table::bitmapWords(start.head()); ++p) {
        uint64_t n = literal::numberOf(p);
        bool set = (bitmap[p / 64] >> (63 - p % 64)) & 1;
        ASSERT_EQ(set, composite[n] != 0) << "number " << n;
    }
}

TEST(Primality, ClearBitsOfAnExtendedTableAreProbablePrimes) {
    // A chain of blocks of several sizes, spot-checked with GMP.
    const uint32_t seed = 4242;
    SCOPED_TRACE("seed " + std::to_string(seed));
    testtable::Chain chain = testtable::buildChain({5, 1000, 131072, 50000});
    chain.head()[2] = chain.blocks.back()[2];
    std::vector<uint64_t> bitmap = chain.bitmap();
    std::mt19937_64 rng(seed);
    mpz_t n;
    mpz_init(n);
    for (int i = 0; i < 20000; ++i) {
        uint64_t p = rng() % (64 * bitmap.size());
        uint64_t number = _5_postonum(p).lo;
        mpz_set_ui(n, number);
        bool set = (bitmap[p / 64] >> (63 - p % 64)) & 1;
        ASSERT_EQ(set, mpz_probab_prime_p(n, 25) == 0) << "number " << number;
    }
    mpz_clear(n);
}

// A 128 MB table reaches past 2^32: pi(2^32) = 203280221. Too slow for the
// sanitizer build, which runs the same code on the smaller tables above.
#if defined(__SANITIZE_ADDRESS__)
TEST(Primality, DISABLED_PrimesBelowTwoToThe32InA128MegabyteTable) {}
#else
TEST(Primality, PrimesBelowTwoToThe32InA128MegabyteTable) {
    testtable::Chain big = testtable::newTable(16777216);
    EXPECT_EQ(big.head()[table::kLimit], 4697619571u);
    uint64_t first = static_cast<uint64_t>(_5_numbpos(4294967311u));  // the first number above 2^32 with a bit
    const uint64_t* bitmap = big.head() + 3;
    uint64_t count = 46;
    for (uint64_t k = 0; k < first / 64; ++k) count += 64 - static_cast<uint64_t>(__builtin_popcountll(bitmap[k]));
    for (uint64_t p = first / 64 * 64; p < first; ++p) count += ((bitmap[p / 64] >> (63 - p % 64)) & 1) == 0;
    EXPECT_EQ(count, 203280221u);
}
#endif

}  // namespace
