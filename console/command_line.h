// The program's command line: options in the style of the usual Unix tools,
// then either nothing (the interactive console) or one question with its
// numbers (answered on standard output, see one_shot.h). The options and the
// questions are one table each: adding one is adding an entry.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace oneshot {
struct Question;
}

namespace cli {

struct CommandLine {
    bool help = false;
    bool version = false;
    bool utf8 = false;             // --utf8 (the last of --utf8 and --cp932 wins)
    unsigned threads = 0;          // --threads N, or Q64_THREADS; 0: the default
    uint64_t tableMegabytes = 0;   // --table MB; 0: the 1 MB start table
    std::string loadFile;          // --load FILE; empty: none
    const oneshot::Question* question = nullptr;  // null: the interactive console
    std::vector<std::string> numbers;  // the question's arguments, as typed
};

// Reads the arguments (without the program name) and `threadsVariable`, the
// value of Q64_THREADS or null. On a usage error returns false with `error`
// holding the one line to print (without the program name).
bool parse(const std::vector<std::string>& args, const char* threadsVariable, CommandLine& line,
           std::string& error);

// The text of --help, made from the two tables.
std::string usage();

}  // namespace cli
