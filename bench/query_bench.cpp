// The four prime questions: the literal loops (trial division by every table
// prime) against the routines, on the start table, in one run.
//
//   query_bench [quick] [nomb]
//
// quick: the literal side of the listing is timed on its first 10 primes only
// and scaled up. nomb: skip the n-th prime on the 1280 MB table (it needs
// 1.3 GB of memory and some seconds to sieve).
//
// Times are CPU seconds of this process (steadier than the wall clock on a
// busy machine). Every fast answer is checked against the literal one.
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "bench/bench_support.h"
// The literal loops are the test suite's reference versions.
#include "platform/memory.h"
#include "primetable/prime_index.h"
#include "primetable/table_words.h"
#include "q64/m5_primequery.h"
#include "q64/m5_primetable.h"
#include "reference/literal_query.h"

namespace {

using u128 = unsigned __int128;
using bench::cpuSeconds;

void report(const char* what, double literal, double fast, const char* unit, double scale) {
    std::printf("%-58s literal %12.3f %s   fast %10.3f %s   ratio %10.0f\n", what, literal * scale, unit,
                fast * scale, unit, fast > 0 ? literal / fast : 0.0);
}

void check(bool ok, const char* what) {
    if (!ok) {
        std::printf("MISMATCH: %s\n", what);
        std::exit(1);
    }
}

struct Table {
    std::vector<std::unique_ptr<uint64_t[]>> blocks;
    const TableBlock* head() const { return blocks.front().get(); }
};

Table buildTable(uint64_t words, int blockCount) {
    Table t;
    for (int i = 0; i < blockCount; ++i) {
        t.blocks.push_back(std::make_unique<uint64_t[]>(words));
        int64_t rc = i == 0 ? _5_prmnew(words, t.blocks.back().get())
                            : _5_prmexpd(words, t.blocks.back().get(), t.blocks.front().get());
        check(rc == 0, "table build");
    }
    return t;
}

// Primality of numbers below 2^64: the primes between E and P^2 are the
// slowest case (the literal loop divides by every prime up to sqrt(n)).
void benchPrimality(const Table& t) {
    std::mt19937_64 gen(1);
    const uint64_t e = t.head()[table::kLimit];
    const uint64_t p = _5_prmtmax(t.head()).lo;
    const u128 pp = static_cast<u128>(p) * p;
    std::vector<uint64_t> primes;
    while (primes.size() < 5) {
        uint64_t n = e + gen() % static_cast<uint64_t>(pp - e);
        if (literal::primetst(n, t.head()) == 0) primes.push_back(n);
    }
    double t0 = cpuSeconds();
    for (uint64_t n : primes) check(literal::primetst(n, t.head()) == 0, "primality literal");
    double literal = (cpuSeconds() - t0) / static_cast<double>(primes.size());
    const int repeats = 20000;
    t0 = cpuSeconds();
    for (int i = 0; i < repeats; ++i)
        check(_5_primetst(primes[static_cast<size_t>(i) % primes.size()], 0, t.head()) == 0, "primality fast");
    double fast = (cpuSeconds() - t0) / repeats;
    report("primality of a prime between E and P^2 (per number)", literal, fast, "us", 1e6);

    // Any number below 2^64: the mean and the slowest class. The answers
    // are checked against the literal loop where it is cheap (composites
    // with a small factor, numbers above E^2).
    std::vector<uint64_t> numbers(200000);
    for (uint64_t& n : numbers) n = gen() >> (gen() % 40);
    t0 = cpuSeconds();
    int64_t sum = 0;
    for (uint64_t n : numbers) sum += _5_primetst(n, 0, t.head());
    double anyFast = (cpuSeconds() - t0) / static_cast<double>(numbers.size());
    for (size_t i = 0; i < 2000; ++i)
        if (numbers[i] > static_cast<uint64_t>(pp) || numbers[i] < e || numbers[i] % 11 == 0)
            check(_5_primetst(numbers[i], 0, t.head()) == literal::primetst(numbers[i], t.head()), "any number");
    std::printf("%-58s fast %10.3f us (sum of answers %" PRId64 ")\n", "primality of random numbers below 2^64 (mean)",
                anyFast * 1e6, sum);
}

// Listing the 99 primes that follow 36699233 (all beyond the bitmap).
void benchListing(const Table& t, bool quick) {
    const int count = 99;
    std::vector<u128> fastList;
    double t0 = cpuSeconds();
    Q2Value running{36699233, 0}, next;
    for (int i = 0; i < count; ++i) {
        check(_5_prmnxnum(&next, &running, t.head()) == 0, "listing fast");
        fastList.push_back((static_cast<u128>(next.hi) << 64) | next.lo);
        running = next;
    }
    double fast = cpuSeconds() - t0;
    const int literalCount = quick ? 10 : count;
    t0 = cpuSeconds();
    u128 n = 36699233;
    for (int i = 0; i < literalCount; ++i) {
        n = literal::prmnext(n, t.head());
        check(n == fastList[static_cast<size_t>(i)], "listing literal");
    }
    double literal = (cpuSeconds() - t0) * count / literalCount;
    report(quick ? "listing 99 primes after 36699233 (literal scaled from 10)" : "listing 99 primes after 36699233",
           literal, fast, "ms", 1e3);
}

void benchFactor(const Table& t, u128 n, const char* what, int64_t expected) {
    static FactorList fastList, slowList;
    double t0 = cpuSeconds();
    int64_t slow = literal::prmfct(&slowList, n, t.head());
    double literal = cpuSeconds() - t0;
    const int repeats = 200;
    t0 = cpuSeconds();
    int64_t got = 0;
    for (int i = 0; i < repeats; ++i)
        got = _5_prmfct(&fastList, static_cast<uint64_t>(n), static_cast<uint64_t>(n >> 64), t.head());
    double fast = (cpuSeconds() - t0) / repeats;
    check(got == slow && got == expected, what);
    check(std::memcmp(&fastList, &slowList, sizeof(uint64_t) * (1 + factorCount(&fastList))) == 0, what);
    report(what, literal, fast, "ms", 1e3);
}

// Random numbers of up to 128 bits: most leave a large rest that the literal
// loop divides by every table prime before refusing (or answering).
void benchRandomFactors(const Table& t) {
    std::mt19937_64 gen(7);
    static FactorList fastList, slowList;
    double literalTotal = 0, fastTotal = 0, fastMax = 0;
    const int count = 40;
    for (int i = 0; i < count; ++i) {
        u128 n = ((static_cast<u128>(gen()) << 64) | gen()) >> (gen() % 100);
        double t0 = cpuSeconds();
        int64_t slow = literal::prmfct(&slowList, n, t.head());
        literalTotal += cpuSeconds() - t0;
        t0 = cpuSeconds();
        int64_t fast = _5_prmfct(&fastList, static_cast<uint64_t>(n), static_cast<uint64_t>(n >> 64), t.head());
        double spent = cpuSeconds() - t0;
        fastTotal += spent;
        if (spent > fastMax) fastMax = spent;
        check(fast == slow, "random factorisation");
    }
    report("factorising random numbers below 2^128 (mean)", literalTotal / count, fastTotal / count, "ms", 1e3);
    std::printf("%-58s fast %10.3f ms\n", "factorising random numbers below 2^128 (slowest)", fastMax * 1e3);
}

// primecount --nth-prime n as a whole process: its answer and wall seconds.
bool primecountNth(uint64_t n, uint64_t& answer, double& seconds) {
    char command[96];
    std::snprintf(command, sizeof command, "primecount --nth-prime %" PRIu64 " 2>/dev/null", n);
    auto start = bench::Clock::now();
    FILE* p = popen(command, "r");
    if (p == nullptr) return false;
    unsigned long long value = 0;
    bool read = std::fscanf(p, "%llu", &value) == 1;
    bool ok = pclose(p) == 0 && read;
    seconds = bench::secondsSince(start);
    answer = value;
    return ok;
}

// The n-th prime on a 1280 MB table (ten 128 MB platform blocks, so that the
// prime-count index is kept): the mean over 1000 random n with the index,
// the same questions counted from the table's start as before the index
// (the index dropped), and primecount --nth-prime in the same run.
void benchNthPrime() {
    const uint64_t blockWords = 16777216;
    std::vector<TableBlock*> blocks;
    double t0 = cpuSeconds();
    for (int i = 0; i < 10; ++i) {
        auto* b = static_cast<TableBlock*>(platform::commitBlock(blockWords * 8));
        check(b != nullptr, "memory for the 1280 MB table");
        blocks.push_back(b);
        check((i == 0 ? _5_prmnew(blockWords, b) : _5_prmexpd(blockWords, b, blocks[0])) == 0, "table build");
    }
    double build = cpuSeconds() - t0;
    const TableBlock* head = blocks[0];
    check(primeindex::describes(head), "the table is indexed");
    const uint64_t count = static_cast<uint64_t>(_5_prmtcnt(head));
    std::printf("1280 MB table: built in %.1f s of CPU, %" PRIu64 " primes, largest %" PRIu64
                "; index of %" PRIu64 " bytes\n",
                build, count, _5_prmtmax(head).lo, primeindex::memoryBytes());

    std::mt19937_64 gen(11);
    std::vector<uint64_t> ns(1000), answers(ns.size());
    for (uint64_t& n : ns) n = 1 + gen() % count;
    ns[0] = count;
    auto wall = bench::Clock::now();
    for (size_t i = 0; i < ns.size(); ++i) answers[i] = _5_prmnoth(ns[i], head);
    double indexed = bench::secondsSince(wall) / static_cast<double>(ns.size());

    // Counting from the start, as before the index: 20 of the same questions.
    const size_t counted = 20;
    primeindex::forget();
    wall = bench::Clock::now();
    for (size_t i = 0; i < counted; ++i) check(_5_prmnoth(ns[i], head) == answers[i], "counted n-th prime");
    double countedSeconds = bench::secondsSince(wall) / counted;
    check(literal::prmnoth(count, head) == answers[0], "literal n-th prime");

    // primecount, a whole process per question: 5 of the same questions.
    double peerTotal = 0;
    int peerRuns = 0;
    for (size_t i = 0; i < 5; ++i) {
        uint64_t answer = 0;
        double seconds = 0;
        if (!primecountNth(ns[i], answer, seconds)) break;
        check(answer == answers[i], "primecount's n-th prime");
        peerTotal += seconds;
        ++peerRuns;
    }
    std::printf("n-th prime on the 1280 MB table, mean of %zu random n: index %.2f us; counting from the start"
                " (%zu of them) %.1f ms, %.0f times the index\n",
                ns.size(), indexed * 1e6, counted, countedSeconds * 1e3, countedSeconds / indexed);
    if (peerRuns == 0)
        std::printf("primecount: not run (apt-get install -y primecount)\n");
    else
        std::printf("primecount --nth-prime (whole process, mean of %d): %.1f ms, %.0f times the index\n",
                    peerRuns, peerTotal / peerRuns * 1e3, peerTotal / peerRuns / indexed);
    for (TableBlock* b : blocks) platform::releaseBlock(b);
}

}  // namespace

int main(int argc, char** argv) {
    bool quick = false, skipNth = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "quick") == 0) quick = true;
        if (std::strcmp(argv[i], "nomb") == 0) skipNth = true;
    }
    Table start = buildTable(131072, 1);
    const uint64_t p = _5_prmtmax(start.head()).lo;
    std::printf("start table: largest prime %" PRIu64 ", limit %" PRIu64 "\n", p, start.head()[table::kLimit]);
    benchPrimality(start);
    benchListing(start, quick);
    benchFactor(start, static_cast<u128>(p) * 36699251, "factorising P * 36699251 (refused)", -1);
    benchFactor(start, static_cast<u128>(10000019) * 10000079, "factorising 10000019 * 10000079", 2);
    benchFactor(start, static_cast<u128>(p) * p, "factorising P^2", 2);
    benchRandomFactors(start);
    if (!skipNth) benchNthPrime();
    return 0;
}
