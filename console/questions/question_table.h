// The questions of the command line, one entry each: its name, the form of
// its operands and the lines of --help that describe it, how many operands
// it takes, and the routine that answers it.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "console/questions/answers.h"

namespace oneshot {

struct Question {
    const char* name;
    const char* operands;     // as --help shows them, such as "N..."
    const char* description;  // --help's text beside it; lines after the first begin with '\n'
    size_t fewest;            // operands at least (1 or more)
    size_t most;              // operands at most; kAnyNumber: no limit
    // Answers the operands as typed; every number is checked by `out`.
    void (*answer)(Answers& out, const std::vector<std::string>& operands);
};

inline constexpr size_t kAnyNumber = ~size_t{0};

// Every question, in the order --help lists them.
const std::vector<Question>& questions();

// The question of that name, or null.
const Question* findQuestion(const std::string& name);

// Their names, as "a, b, c or d".
std::string questionNames();

}  // namespace oneshot
