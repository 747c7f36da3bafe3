// The command line: usage errors and their exit statuses, and the one-shot
// questions on random numbers against independent oracles (GMP's primality
// test and next prime, a sieve of the test's own for the n-th prime, and
// coreutils' factor for factorisations), in one run of the program per
// question.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "tests/console/program_run.h"
#include "tests/primequery/test_numbers.h"

namespace {

using namespace console_test;
using testnum::dec;
using testnum::gmpNextPrime;
using testnum::gmpPrime;
using testnum::u128;

constexpr uint64_t kLargest = 36699233;                // P, the start table's largest prime
constexpr uint64_t kPrimeCount = 2244426;              // primes below its limit
constexpr u128 kQueryLimit = u128{kLargest} * kLargest;  // P^2

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

RunResult ask(std::vector<std::string> args, std::vector<std::string> environment = {}) {
    return askOnce(std::move(args), std::move(environment));
}

struct UsageCase {
    std::vector<std::string> args;
    std::vector<std::string> environment;
    int status;
    std::string out;           // exact standard output
    int errorLines;            // lines on standard error
    std::string errorNames;    // what the first error line names
};

TEST(CommandLine, UsageAndErrorsAndTheirExitStatuses) {
    const UsageCase cases[] = {
        {{"--version"}, {}, 0, "primes 1.1.0\n", 0, ""},
        {{"--bogus"}, {}, 2, "", 1, "'--bogus'"},
        {{"-h"}, {}, 2, "", 1, "'-h'"},
        {{"--threads", "0", "isprime", "7"}, {}, 2, "", 1, "'0'"},
        {{"--threads"}, {}, 2, "", 1, "--threads"},
        {{"isprime", "7"}, {"Q64_THREADS=many"}, 2, "", 1, "Q64_THREADS"},
        {{"--threads=2", "isprime", "7"}, {"Q64_THREADS=1"}, 0, "7: prime\n", 0, ""},
        {{"isprime"}, {}, 2, "", 1, "isprime"},
        {{"divide", "6"}, {}, 2, "", 1, "'divide'"},
        {{"--table", "2"}, {}, 2, "", 1, "--table"},
        {{"--table", "0", "nth", "1"}, {}, 2, "", 1, "'0'"},
        {{"--load", "missing.dat", "isprime", "7"}, {}, 2, "", 1, "missing.dat"},
        {{"next", "1", "2", "3"}, {}, 2, "", 1, "next"},
        {{"isprime", "12x", "13", "-5"}, {}, 2, "13: prime\n", 2, "12x"},
        {{"isprime", "0", "1", "340282366920938463463374607431768211456"}, {}, 2, "0: neither\n1: neither\n", 1,
         "340282366920938463463374607431768211456"},
        {{"nth", "0", "1", "18446744073709551616"}, {}, 2, "1: 2\n", 2, "0"},
        {{"nth", "2244426", "425656284035217744", "2244427"}, {}, 1, "2244426: 36699233\n2244427: 36699251\n", 1,
         "425656284035217744"},
        {{"pi", "18446744073709551616", "x1", "100"}, {}, 2, "100: 25\n", 2, "18446744073709551616"},
        {{"pi"}, {}, 2, "", 1, "pi"},
        {{"factor", "0", "1", "360", "18446744073709551617"}, {}, 0,
         "0:\n1:\n360: 2 2 2 3 3 5\n18446744073709551617: 274177 67280421310721\n", 0, ""},
        {{"factor", dec(u128{kLargest} * 36699251)}, {}, 0, dec(u128{kLargest} * 36699251) + ": 36699233 36699251\n",
         0, ""},
        {{"next", "340282366920938463463374607431768211256", "3"}, {}, 1, "", 1,
         "340282366920938463463374607431768211256"},
        {{"--", "isprime", "2"}, {}, 0, "2: prime\n", 0, ""},
        {{"--table", "2", "nth", "2244427"}, {}, 0, "2244427: 36699251\n", 0, ""},
        // Every option refuses the first value past its range, and takes the last one in it.
        {{"--threads", "4097", "isprime", "7"}, {}, 2, "", 1, "'4097'"},
        {{"--threads=4096", "isprime", "7"}, {}, 0, "7: prime\n", 0, ""},
        {{"isprime", "7"}, {"Q64_THREADS=4097"}, 2, "", 1, "Q64_THREADS"},
        {{"isprime", "7"}, {"Q64_THREADS=4096"}, 0, "7: prime\n", 0, ""},
        {{"--table", "18446744073709551616", "nth", "1"}, {}, 2, "", 1, "'18446744073709551616'"},
        {{"--table=18446744073709551617", "nth", "1"}, {}, 2, "", 1, "'18446744073709551617'"},
    };
    for (const UsageCase& c : cases) {
        std::string joined;
        for (const std::string& a : c.args) joined.append(a).append(" ");
        SCOPED_TRACE(joined);
        RunResult run = ask(c.args, c.environment);
        EXPECT_EQ(run.status, c.status) << run.err;
        if (c.args[0] != "next") {
            EXPECT_EQ(run.out, c.out);
        }
        std::vector<std::string> errors = lines(run.err);
        EXPECT_EQ(errors.size(), static_cast<size_t>(c.errorLines)) << run.err;
        if (!errors.empty()) {
            EXPECT_EQ(errors[0].rfind("primes: ", 0), 0u) << errors[0];
            EXPECT_NE(errors[0].find(c.errorNames), std::string::npos) << errors[0];
        }
    }
}

TEST(CommandLine, HelpNamesEveryQuestionAndOption) {
    RunResult run = ask({"--help"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    for (const char* word : {"Usage: primes", "isprime", "nth", "next", "factor", "pi X", "--table", "--load",
                             "--threads", "--utf8", "--version", "Exit status"})
        EXPECT_NE(run.out.find(word), std::string::npos) << word;
}

// Random numbers in every range: below 211, inside the table, between its
// limit and P^2, and beyond P^2 up to 2^128.
std::vector<u128> randomNumbers(std::mt19937_64& rng, int count) {
    std::vector<u128> out;
    for (int i = 0; i < count; ++i) {
        u128 wide = (u128{rng()} << 64) | rng();
        switch (i % 4) {
            case 0: out.push_back(rng() % 300); break;
            case 1: out.push_back(rng() % 36699251); break;
            case 2: out.push_back(36699251 + wide % (kQueryLimit - 36699251)); break;
            default: out.push_back(wide >> (rng() % 64)); break;
        }
    }
    return out;
}

TEST(OneShot, IsPrimeAgreesWithGmp) {
    std::mt19937_64 rng(0x15BB1);
    std::vector<u128> numbers = randomNumbers(rng, 400);
    for (int i = 0; i < 40; ++i) numbers.push_back(gmpNextPrime(numbers[static_cast<size_t>(i)]));
    std::vector<std::string> args{"isprime"};
    for (u128 n : numbers) args.push_back(dec(n));
    RunResult run = ask(args);
    std::vector<std::string> answers = lines(run.out);
    ASSERT_EQ(answers.size(), numbers.size()) << run.err;
    for (size_t i = 0; i < numbers.size(); ++i) {
        const u128 n = numbers[i];
        SCOPED_TRACE(dec(n));
        EXPECT_EQ(answers[i], dec(n) + (n < 2 ? ": neither" : gmpPrime(n) ? ": prime" : ": composite"));
    }
    EXPECT_EQ(run.status, 0) << run.err;
}

TEST(OneShot, NthAndNextAgreeWithTheirOracles) {
    // The primes below the table's limit, from a sieve of the test's own.
    std::vector<uint64_t> primes;
    std::vector<bool> composite(36699251, false);
    for (uint64_t p = 2; p < composite.size(); ++p) {
        if (composite[p]) continue;
        primes.push_back(p);
        for (uint64_t m = p * p; m < composite.size(); m += p) composite[m] = true;
    }
    ASSERT_EQ(primes.size(), kPrimeCount);
    std::mt19937_64 rng(0x4E7);
    std::vector<std::string> args{"nth"};
    std::vector<uint64_t> ks{1, 46, 47, kPrimeCount};
    for (int i = 0; i < 200; ++i) ks.push_back(1 + rng() % kPrimeCount);
    for (uint64_t k : ks) args.push_back(std::to_string(k));
    RunResult nth = ask(args);
    EXPECT_EQ(nth.status, 0) << nth.err;
    std::string expected;
    for (uint64_t k : ks) expected += std::to_string(k) + ": " + std::to_string(primes[k - 1]) + "\n";
    EXPECT_EQ(nth.out, expected);

    // From the table below its query limit, across it, and beyond it.
    std::vector<u128> starts = randomNumbers(rng, 12);
    starts.push_back(kQueryLimit - 200);
    for (u128 start : starts) {
        SCOPED_TRACE(dec(start));
        RunResult next = ask({"next", dec(start), "4"});
        std::string want;
        u128 p = start;
        for (int i = 0; i < 4; ++i) want += dec(p = gmpNextPrime(p)) + "\n";
        EXPECT_EQ(next.out, want);
        EXPECT_EQ(next.status, 0) << next.err;
    }
}

TEST(OneShot, FactorAgreesWithCoreutilsFactor) {
    // Random numbers below 2^64 and products of primes of every size the
    // table reaches, some with a cofactor beyond P^2 (factored by the
    // library's methods).
    std::mt19937_64 rng(0xFAC7);
    std::vector<u128> numbers;
    for (int i = 0; i < 120; ++i) {
        u128 n = 1;
        switch (i % 4) {
            case 0: n = rng() >> (rng() % 64); break;
            case 1:
                for (int f = 0; f < 4; ++f) n *= gmpNextPrime(rng() % (f < 2 ? 100000 : 40000000));
                break;
            case 2: n = gmpNextPrime(rng() % 1000) * gmpNextPrime(kLargest + rng() % 1000000000000ull); break;
            default: n = gmpNextPrime(kLargest + rng() % 1000000) * gmpNextPrime(kLargest + rng() % 1000000); break;
        }
        numbers.push_back(n);
    }
    std::string list;
    for (u128 n : numbers) list.append(" ").append(dec(n));
    std::FILE* pipe = popen(("factor" + list).c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string oracle;
    char buf[4096];
    while (std::fgets(buf, sizeof buf, pipe)) oracle += buf;
    ASSERT_EQ(pclose(pipe), 0);

    std::vector<std::string> args{"factor"};
    for (u128 n : numbers) args.push_back(dec(n));
    RunResult run = ask(args);
    EXPECT_EQ(run.out, oracle);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.status, 0);
}

// Beyond the table's query limit: the answers of the library's routines,
// byte for byte, the exit status, and the one error line past the last
// prime below 2^128; and the start table built only where it is needed.
TEST(OneShot, AnswersBeyondTheTable) {
    struct Case {
        std::vector<std::string> args;
        std::string out;
        int errorLines, status;
        std::vector<std::string> environment = {};
    };
    const std::string top = "340282366920938463463374607431768211297";  // 2^128 - 159
    const Case cases[] = {
        {{"isprime", "18446744073709551557", top, "340282366920938463463374607431768211455", "1000000000000000003",
          "318665857834031151167461"},
         "18446744073709551557: prime\n" + top + ": prime\n340282366920938463463374607431768211455: composite\n"
         "1000000000000000003: prime\n318665857834031151167461: composite\n",
         0, 0},
        {{"factor", "1000000000000000003", top, "340282366920938463463374607431768211455", "18446744073709551617"},
         "1000000000000000003: 1000000000000000003\n" + top + ": " + top +
             "\n340282366920938463463374607431768211455: 3 5 17 257 641 65537 274177 6700417 67280421310721\n"
             "18446744073709551617: 274177 67280421310721\n",
         0, 0},
        {{"next", "100000000000000000000", "3"}, "100000000000000000039\n100000000000000000129\n100000000000000000151\n",
         0, 0},
        {{"next", "340282366920938463463374607431768211256", "3"},
         "340282366920938463463374607431768211283\n" + top + "\n", 1, 1},
        {{"next", top, "0"}, "", 0, 0},
        {{"next", top}, "", 1, 1},
        // Without the start table's memory the library's routines answer
        // every number, the n-th prime and the counts by counting.
        {{"isprime", "97", top}, "97: prime\n" + top + ": prime\n", 0, 0, {"Q64_REFUSE_AFTER_BLOCKS=0"}},
        {{"factor", "360"}, "360: 2 2 2 3 3 5\n", 0, 0, {"Q64_REFUSE_AFTER_BLOCKS=0"}},
        {{"nth", "1000"}, "1000: 7919\n", 0, 0, {"Q64_REFUSE_AFTER_BLOCKS=0"}},
        {{"pi", "7919"}, "7919: 1000\n", 0, 0, {"Q64_REFUSE_AFTER_BLOCKS=0"}},
        // The table's last prime and the numbers just past it, where the
        // count takes over from the table, and far beyond.
        {{"pi", "36699232", "36699233", "36699234", "36699251", "1000000000000"},
         "36699232: 2244425\n36699233: 2244426\n36699234: 2244426\n36699251: 2244427\n"
         "1000000000000: 37607912018\n",
         0, 0},
        {{"nth", "2244426", "2244427", "1000000000000"},
         "2244426: 36699233\n2244427: 36699251\n1000000000000: 29996224275833\n", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.args[1]);
        RunResult run = ask(c.args, c.environment);
        EXPECT_EQ(run.out, c.out);
        EXPECT_EQ(lines(run.err).size(), static_cast<size_t>(c.errorLines)) << run.err;
        EXPECT_EQ(run.status, c.status) << run.err;
    }
}

// The thread cap, from the option or the environment, changes nothing of the
// answers: a 3 MB table (three blocks' worth of segments) sieved on one, two
// and five threads.
TEST(OneShot, AnswersDoNotDependOnTheThreadCap) {
    const std::vector<std::string> question{"--table", "3", "nth", "2244427", "4000000", "6000000", "6308784"};
    RunResult single = ask([&] {
        std::vector<std::string> a{"--threads", "1"};
        a.insert(a.end(), question.begin(), question.end());
        return a;
    }());
    ASSERT_EQ(single.status, 0) << single.err;
    EXPECT_EQ(lines(single.out).size(), 4u);
    EXPECT_EQ(ask(question, {"Q64_THREADS=2"}).out, single.out);
    std::vector<std::string> five{"--threads=5"};
    five.insert(five.end(), question.begin(), question.end());
    EXPECT_EQ(ask(five, {"Q64_THREADS=1"}).out, single.out);
}

// A file whose later blocks are refused memory leaves part of the table: the
// questions are answered from that part (and beyond it by counting, with
// the whole table's answers), and the run ends with status 1 (the table was
// cut short), not 2 (the input was not malformed).
TEST(OneShot, APartlyLoadedTableStillAnswers) {
    TempDir dir;
    ASSERT_EQ(runProgram(dir.path, "a\nx\n1\nx\n1\nf\nw\ne\ne\n\n").status, 0);  // three blocks
    for (const char* question : {"nth", "pi"}) {
        SCOPED_TRACE(question);
        const bool nth = question[0] == 'n';
        RunOptions options =
            withArguments({"--load", dir.file(), question, nth ? "1" : "2", nth ? "6000000" : "104395301"});
        RunResult whole = runProgram(dir.path, "", options);
        EXPECT_EQ(whole.status, 0) << whole.err;
        EXPECT_EQ(whole.out, nth ? "1: 2\n6000000: 104395301\n" : "2: 1\n104395301: 6000000\n");
        options.environment = {"Q64_REFUSE_AFTER_BLOCKS=2"};
        RunResult part = runProgram(dir.path, "", options);
        EXPECT_EQ(part.status, 1) << part.err;
        EXPECT_EQ(part.out, whole.out);
        EXPECT_EQ(lines(part.err).size(), 1u) << part.err;
        EXPECT_NE(part.err.find("only part of the table"), std::string::npos) << part.err;
    }
}

TEST(OneShot, LoadsASavedTable) {
    TempDir dir;
    ASSERT_EQ(runProgram(dir.path, "a\nf\nw\ne\ne\n\n").status, 0);
    RunOptions options = withArguments({"--load", dir.file(), "nth", "2244426"});
    RunResult run = runProgram(dir.path, "", options);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "2244426: 36699233\n");
    writeFile(dir.file("bad.dat"), "not a table");
    run = runProgram(dir.path, "", withArguments({"--load", dir.file("bad.dat"), "nth", "1"}));
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("not a prime table file"), std::string::npos) << run.err;
}

}  // namespace
