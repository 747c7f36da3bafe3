#include "console/one_shot.h"

#include <unistd.h>

#include <cstdio>
#include <string>

#include "console/console_state.h"
#include "console/output.h"
#include "console/statistics.h"
#include "console/table_chain.h"
#include "q64/m0_utilities.h"
#include "q64/m5_primequery.h"

namespace oneshot {

namespace {

using cli::Question;

const char* questionName(Question q) {
    switch (q) {
        case Question::IsPrime: return "isprime";
        case Question::Nth: return "nth";
        case Question::Next: return "next";
        default: return "factor";
    }
}

std::string decimal(Q2Value v) {
    char digits[40];
    return std::string(digits, _0_numq2tostr(digits, v.lo, v.hi));
}

// Answers and errors of one run: the exit status is the worst seen.
class Answers {
public:
    explicit Answers(Question q) : question_(q) {}
    int status() const { return status_; }

    void line(const std::string& text) { std::printf("%s\n", text.c_str()); }
    void error(const std::string& number, const std::string& reason, int status) {
        std::fflush(stdout);  // answers and errors keep their order on a terminal
        std::fprintf(stderr, "primes: %s: %s: %s\n", questionName(question_), number.c_str(), reason.c_str());
        if (status > status_) status_ = status;
    }

    // The number as the console reads it: decimal digits only, below 2^128.
    bool number(const std::string& text, Q2Value& value) {
        if (text.empty() || _0_dgtlen(text.c_str()) != text.size()) {
            error(text, "not a decimal number", kMalformed);
            return false;
        }
        if (_0_strtobigar(&value, text.c_str(), text.size()) == nullptr) {
            error(text, "too large (above 2^128 - 1)", kMalformed);
            return false;
        }
        return true;
    }
    // A count below 2^64; `least` is 1 where 0 has no meaning.
    bool count(const std::string& text, uint64_t least, uint64_t& value) {
        Q2Value v;
        if (!number(text, v)) return false;
        if (v.hi != 0) {
            error(text, "too large (above 2^64 - 1)", kMalformed);
            return false;
        }
        if (v.lo < least) {
            error(text, "must be at least 1 (there is no 0-th prime)", kMalformed);
            return false;
        }
        value = v.lo;
        return true;
    }

private:
    Question question_;
    int status_ = kAnswered;
};

std::string beyondLimit() { return "beyond what the table decides (up to " + decimal(console.queryLimit) + ")"; }

void isPrime(Answers& out, const std::string& text) {
    Q2Value n;
    if (!out.number(text, n)) return;
    if (n.hi == 0 && n.lo < 2) return out.line(text + ": neither");
    switch (_5_primetst(n.lo, n.hi, console.tableHead)) {
        case 0: return out.line(text + ": prime");
        case 1: return out.line(text + ": composite");
        default:
            out.line(text + ": unknown");
            out.error(text, beyondLimit(), kBeyondTable);
    }
}

void nth(Answers& out, const std::string& text) {
    uint64_t k;
    if (!out.count(text, 1, k)) return;
    const uint64_t count = static_cast<uint64_t>(console.primeCount);
    const uint64_t prime = k <= count ? _5_prmnoth(k, console.tableHead) : ~uint64_t{0};
    if (prime == ~uint64_t{0})
        return out.error(text, "beyond the table's " + std::to_string(count) + " primes", kBeyondTable);
    out.line(text + ": " + std::to_string(prime));
}

void next(Answers& out, const std::vector<std::string>& args) {
    Q2Value running;
    uint64_t count = 1;
    const bool haveStart = out.number(args[0], running);
    if (args.size() == 2 && !out.count(args[1], 0, count)) return;
    if (!haveStart) return;
    for (uint64_t found = 0; found < count; ++found) {
        Q2Value prime;
        if (_5_prmnxnum(&prime, &running, console.tableHead) != 0)
            return out.error(args[0], "the table gives only " + std::to_string(found) + " of the " +
                                          std::to_string(count) + " primes after it (" + beyondLimit() + ")",
                             kBeyondTable);
        out.line(decimal(prime));
        running = prime;
    }
}

FactorList factors;

void factor(Answers& out, const std::string& text) {
    Q2Value n;
    if (!out.number(text, n)) return;
    if (n.hi == 0 && n.lo < 2) return out.line(text + ":");
    if (_5_prmfct(&factors, n.lo, n.hi, console.tableHead) < 0)
        return out.error(text, "cannot be factored completely with the table (" + beyondLimit() + ")",
                         kBeyondTable);
    std::string line = text + ":";
    for (uint64_t i = 0; i < factorCount(&factors); ++i) {
        line += ' ';
        line += std::to_string(factors.word[i]);
    }
    if (cofactorCount(&factors) == 1) {
        const uint64_t at = factorCount(&factors);
        line += ' ';
        line += decimal(Q2Value{factors.word[at], factors.word[at + 1]});
    }
    out.line(line);
}

// The table the command line asks for: a rebuilt one of --table MB, a loaded
// one, or the 1 MB start table. Progress lines of a rebuild go to standard
// error when it is a terminal; nothing else of the console is printed.
int prepareTable(const cli::CommandLine& line) {
    output::setStream(line.tableMegabytes != 0 && isatty(STDERR_FILENO) ? stderr : nullptr);
    int status = kAnswered;
    if (line.tableMegabytes != 0) {
        if (rebuildTable(line.tableMegabytes) != 1) {
            std::fprintf(stderr, "primes: --table %llu: the table could not be built whole; %lld MB stand\n",
                         static_cast<unsigned long long>(line.tableMegabytes),
                         static_cast<long long>(console.tableQwords / 131072));
            status = kBeyondTable;
        }
    } else if (!line.loadFile.empty()) {
        tablefile::Reader reader;
        switch (openTableFile(reader, line.loadFile.c_str())) {
            case TableFileCheck::Missing:
                std::fprintf(stderr, "primes: --load %s: cannot open the file\n", line.loadFile.c_str());
                return kMalformed;
            case TableFileCheck::NotTable:
                std::fprintf(stderr, "primes: --load %s: not a prime table file\n", line.loadFile.c_str());
                return kMalformed;
            case TableFileCheck::Checked: break;
        }
        switch (replaceTableFromFile(reader)) {
            case tablefile::LoadResult::Damaged:
                std::fprintf(stderr, "primes: --load %s: not a prime table file (its checksum fails)\n",
                             line.loadFile.c_str());
                return kMalformed;
            case tablefile::LoadResult::Partial:
                std::fprintf(stderr, "primes: --load %s: only part of the table could be read\n",
                             line.loadFile.c_str());
                status = kBeyondTable;
                break;
            case tablefile::LoadResult::Complete: break;
        }
    } else {
        buildStartTable();
    }
    std::fflush(stderr);
    output::setStream(nullptr);
    refreshStatistics();
    return status;
}

}  // namespace

int run(const cli::CommandLine& line) {
    int status = prepareTable(line);
    if (status == kMalformed) return status;
    Answers out(line.question);
    if (console.tableHead == nullptr) {
        std::fprintf(stderr, "primes: no prime table (memory was refused)\n");
        status = kBeyondTable;
    } else if (line.question == Question::Next) {
        next(out, line.numbers);
    } else {
        for (const std::string& text : line.numbers) {
            if (line.question == Question::IsPrime) isPrime(out, text);
            if (line.question == Question::Nth) nth(out, text);
            if (line.question == Question::Factor) factor(out, text);
        }
    }
    freeChain();
    std::fflush(stdout);
    return out.status() > status ? out.status() : status;
}

}  // namespace oneshot
