#include "console/command_line.h"

#include <cstring>

namespace cli {

namespace {

constexpr uint64_t kMaxThreads = 4096;

struct QuestionName {
    const char* name;
    Question question;
};
constexpr QuestionName kQuestions[] = {
    {"isprime", Question::IsPrime},
    {"nth", Question::Nth},
    {"next", Question::Next},
    {"factor", Question::Factor},
};

// A count of 1 to `max` in plain decimal digits.
bool readCount(const std::string& text, uint64_t max, uint64_t& value) {
    if (text.empty() || text.size() > 20) return false;
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        uint64_t digit = static_cast<uint64_t>(c - '0');
        if (value > (max - digit) / 10) return false;
        value = value * 10 + digit;
    }
    return value >= 1;
}

// "--name=value" or "--name value": the option's value, taking the next
// argument in the second form. False when there is none.
bool optionValue(const std::vector<std::string>& args, size_t& i, const std::string& name,
                 std::string& value) {
    const std::string& arg = args[i];
    if (arg.size() > name.size() && arg.compare(0, name.size(), name) == 0 && arg[name.size()] == '=') {
        value = arg.substr(name.size() + 1);
        return true;
    }
    if (i + 1 == args.size()) return false;
    value = args[++i];
    return true;
}

bool readThreads(const std::string& text, const std::string& what, CommandLine& line, std::string& error) {
    uint64_t n;
    if (!readCount(text, kMaxThreads, n)) {
        error = what + ": '" + text + "' is not a thread count from 1 to 4096";
        return false;
    }
    line.threads = static_cast<unsigned>(n);
    return true;
}

}  // namespace

bool parse(const std::vector<std::string>& args, const char* threadsVariable, CommandLine& line,
           std::string& error) {
    if (threadsVariable != nullptr && !readThreads(threadsVariable, "Q64_THREADS", line, error)) return false;
    size_t i = 0;
    for (; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--") {
            ++i;
            break;
        }
        if (arg.size() < 2 || arg[0] != '-') break;  // the question
        std::string value;
        if (arg == "--help") {
            line.help = true;
        } else if (arg == "--version") {
            line.version = true;
        } else if (arg == "--utf8") {
            line.utf8 = true;
        } else if (arg == "--cp932") {
            line.utf8 = false;
        } else if (arg.rfind("--threads", 0) == 0 && (arg.size() == 9 || arg[9] == '=')) {
            if (!optionValue(args, i, "--threads", value)) {
                error = "option '--threads' needs a thread count";
                return false;
            }
            if (!readThreads(value, "--threads", line, error)) return false;
        } else if (arg.rfind("--table", 0) == 0 && (arg.size() == 7 || arg[7] == '=')) {
            uint64_t mb;
            if (!optionValue(args, i, "--table", value)) {
                error = "option '--table' needs a size in megabytes";
                return false;
            }
            if (!readCount(value, UINT64_MAX, mb)) {
                error = "--table: '" + value + "' is not a size of at least 1 megabyte";
                return false;
            }
            line.tableMegabytes = mb;
        } else if (arg.rfind("--load", 0) == 0 && (arg.size() == 6 || arg[6] == '=')) {
            if (!optionValue(args, i, "--load", value) || value.empty()) {
                error = "option '--load' needs a file name";
                return false;
            }
            line.loadFile = value;
        } else {
            error = "unknown option '" + arg + "'";
            return false;
        }
    }
    if (line.help || line.version) return true;
    if (i == args.size()) {
        if (line.tableMegabytes != 0 || !line.loadFile.empty()) {
            error = "--table and --load apply to a question (isprime, nth, next, factor)";
            return false;
        }
        return true;
    }
    for (const QuestionName& q : kQuestions)
        if (args[i] == q.name) line.question = q.question;
    if (line.question == Question::None) {
        error = "unknown question '" + args[i] + "' (isprime, nth, next or factor)";
        return false;
    }
    if (line.tableMegabytes != 0 && !line.loadFile.empty()) {
        error = "--table and --load exclude each other";
        return false;
    }
    line.numbers.assign(args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
    if (line.numbers.empty()) {
        error = args[i] + ": no number given";
        return false;
    }
    if (line.question == Question::Next && line.numbers.size() > 2) {
        error = "next: too many arguments (N and at most one COUNT)";
        return false;
    }
    return true;
}

const char* usage() {
    return "Usage: primes [OPTION]...                 the interactive console (texts in Japanese)\n"
           "  or:  primes [OPTION]... QUESTION NUMBER...  one question, answered in plain ASCII\n"
           "\n"
           "Questions (N from 0 to 2^128-1; K from 1 to 2^64-1; COUNT from 0 to 2^64-1):\n"
           "  isprime N...     'N: prime', 'N: composite', 'N: neither' (0 and 1), or\n"
           "                   'N: unknown' when N lies beyond what the table decides\n"
           "  nth K...         'K: P', P the K-th prime (2 is the first)\n"
           "  next N [COUNT]   the COUNT primes after N (1 without COUNT), one per line\n"
           "  factor N...      'N: p q ...', the prime factors in ascending order, repeated\n"
           "\n"
           "Options:\n"
           "  --table MB       sieve a start table of MB megabytes instead of 1 (questions only)\n"
           "  --load FILE      start from a saved table file instead (questions only)\n"
           "  --threads N      sieve tables with at most N threads (default: every hardware\n"
           "                   thread the process may use; also the variable Q64_THREADS)\n"
           "  --utf8           console texts in UTF-8\n"
           "  --cp932          console texts in CP932 (Shift-JIS), the default\n"
           "  --help           show this text and exit\n"
           "  --version        show the version and exit\n"
           "\n"
           "Exit status: 0 when every number was answered; 1 when some could not be\n"
           "answered with the table; 2 for malformed input (not a number, too large,\n"
           "K = 0, an unknown option or question).\n";
}

}  // namespace cli
