#include "console/command_line.h"

#include "console/questions/question_table.h"

namespace cli {

namespace {

constexpr uint64_t kMaxThreads = 4096;

// A number of 1 to `max` in plain decimal digits.
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

bool readThreads(const std::string& text, const std::string& what, CommandLine& line, std::string& error) {
    uint64_t n;
    if (!readCount(text, kMaxThreads, n)) {
        error = what + ": '" + text + "' is not a thread count from 1 to 4096";
        return false;
    }
    line.threads = static_cast<unsigned>(n);
    return true;
}

bool setThreads(CommandLine& line, const std::string& value, std::string& error) {
    return readThreads(value, "--threads", line, error);
}

bool setTable(CommandLine& line, const std::string& value, std::string& error) {
    if (!readCount(value, UINT64_MAX, line.tableMegabytes)) {
        error = "--table: '" + value + "' is not a size of at least 1 megabyte";
        return false;
    }
    return true;
}

bool setLoad(CommandLine& line, const std::string& value, std::string& error) {
    if (value.empty()) {
        error = "option '--load' needs a file name";
        return false;
    }
    line.loadFile = value;
    return true;
}

bool setHelp(CommandLine& line, const std::string&, std::string&) { return line.help = true; }
bool setVersion(CommandLine& line, const std::string&, std::string&) { return line.version = true; }
bool setUtf8(CommandLine& line, const std::string&, std::string&) { return line.utf8 = true; }
bool setCp932(CommandLine& line, const std::string&, std::string&) {
    line.utf8 = false;
    return true;
}

struct Option {
    const char* name;         // "--threads"
    const char* value;        // what it takes ("N"), or null for a switch
    const char* needs;        // what a missing value is called in the error line
    const char* description;  // --help's text beside it; lines after the first begin with '\n'
    bool (*apply)(CommandLine& line, const std::string& value, std::string& error);
};

const Option kOptions[] = {
    {"--table", "MB", "a size in megabytes", "sieve a start table of MB megabytes instead of 1 (questions only)",
     setTable},
    {"--load", "FILE", "a file name", "start from a saved table file instead (questions only)", setLoad},
    {"--threads", "N", "a thread count",
     "sieve tables, count and list primes with at most N threads\n"
     "(default: every hardware thread the process may use; also the\n"
     "variable Q64_THREADS)",
     setThreads},
    {"--utf8", nullptr, nullptr, "console texts in UTF-8", setUtf8},
    {"--cp932", nullptr, nullptr, "console texts in CP932 (Shift-JIS), the default", setCp932},
    {"--help", nullptr, nullptr, "show this text and exit", setHelp},
    {"--version", nullptr, nullptr, "show the version and exit", setVersion},
};

// The option that `arg` names, as "--name" or "--name=value" (the latter only
// for options that take a value), or null.
const Option* findOption(const std::string& arg) {
    for (const Option& option : kOptions) {
        const std::string name = option.name;
        if (arg == name) return &option;
        if (option.value != nullptr && arg.size() > name.size() && arg.compare(0, name.size(), name) == 0 &&
            arg[name.size()] == '=')
            return &option;
    }
    return nullptr;
}

// Applies the option at args[i], taking its value from "=value" or from the
// next argument.
bool applyOption(const Option& option, const std::vector<std::string>& args, size_t& i, CommandLine& line,
                 std::string& error) {
    std::string value;
    if (option.value != nullptr) {
        const size_t nameLength = std::char_traits<char>::length(option.name);
        if (args[i].size() > nameLength) {
            value = args[i].substr(nameLength + 1);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            error = std::string("option '") + option.name + "' needs " + option.needs;
            return false;
        }
    }
    return option.apply(line, value, error);
}

// Checks the question's name and its number of operands.
bool takeQuestion(const std::vector<std::string>& args, size_t i, CommandLine& line, std::string& error) {
    line.question = oneshot::findQuestion(args[i]);
    if (line.question == nullptr) {
        error = "unknown question '" + args[i] + "' (" + oneshot::questionNames() + ")";
        return false;
    }
    if (line.tableMegabytes != 0 && !line.loadFile.empty()) {
        error = "--table and --load exclude each other";
        return false;
    }
    line.numbers.assign(args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
    const std::string form = args[i] + " " + line.question->operands;
    if (line.numbers.empty()) {
        error = args[i] + ": no number given (" + form + ")";
        return false;
    }
    if (line.numbers.size() < line.question->fewest) {
        error = args[i] + ": too few arguments (" + form + ")";
        return false;
    }
    if (line.numbers.size() > line.question->most) {
        error = args[i] + ": too many arguments (" + form + ")";
        return false;
    }
    return true;
}

// Appends "  NAME FORM" padded to the description column, then the
// description, its later lines indented to that column.
void describe(std::string& text, const std::string& entry, const char* description) {
    constexpr size_t kColumn = 19;
    text += "  " + entry;
    text += entry.size() + 2 < kColumn ? std::string(kColumn - 2 - entry.size(), ' ') : std::string("  ");
    for (const char* c = description; *c != '\0'; ++c) {
        text += *c;
        if (*c == '\n') text += std::string(kColumn, ' ');
    }
    text += '\n';
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
        const Option* option = findOption(arg);
        if (option == nullptr) {
            error = "unknown option '" + arg + "'";
            return false;
        }
        if (!applyOption(*option, args, i, line, error)) return false;
    }
    if (line.help || line.version) return true;
    if (i < args.size()) return takeQuestion(args, i, line, error);
    if (line.tableMegabytes != 0 || !line.loadFile.empty()) {
        error = "--table and --load apply to a question (" + oneshot::questionNames() + ")";
        return false;
    }
    return true;
}

std::string usage() {
    std::string text =
        "Usage: primes [OPTION]...                 the interactive console (texts in Japanese)\n"
        "  or:  primes [OPTION]... QUESTION NUMBER...  one question, answered in plain ASCII\n"
        "\n"
        "Questions (N from 0 to 2^128-1; K from 1 to 2^64-1; X and COUNT from 0 to\n"
        "2^64-1):\n";
    for (const oneshot::Question& q : oneshot::questions())
        describe(text, std::string(q.name) + " " + q.operands, q.description);
    text += "\nOptions:\n";
    for (const Option& option : kOptions)
        describe(text, option.value ? std::string(option.name) + " " + option.value : option.name,
                 option.description);
    text +=
        "\n"
        "Exit status: 0 when every number was answered; 1 when the K-th prime lies\n"
        "beyond 2^64, fewer than COUNT primes follow N below 2^128 or the memory\n"
        "for a count was refused; 2 for\n"
        "malformed input (not a number, too large, K = 0, an unknown option or\n"
        "question).\n";
    return text;
}

}  // namespace cli
