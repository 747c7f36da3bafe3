// One question from the command line, answered without menus: plain ASCII on
// standard output, one line per answer; errors about a number are one line on
// standard error naming it and the reason, and the other numbers are still
// answered. The answers are those of the console's dialogs on the same table.
#pragma once

#include "console/command_line.h"

namespace oneshot {

// The exit statuses: every number answered; some could not be answered with
// the table; malformed input.
inline constexpr int kAnswered = 0;
inline constexpr int kBeyondTable = 1;
inline constexpr int kMalformed = 2;

// Builds or loads the table the command line asks for, answers its question
// for every number and returns the exit status.
int run(const cli::CommandLine& line);

}  // namespace oneshot
