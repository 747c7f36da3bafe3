// One question from the command line, answered without menus: plain ASCII on
// standard output, one line per answer; errors about a number are one line on
// standard error naming it and the reason, and the other numbers are still
// answered. The answers are those of the console's dialogs on the same table.
#pragma once

#include "console/command_line.h"
#include "console/questions/answers.h"

namespace oneshot {

// Builds or loads the table the command line asks for, answers its question
// for every number and returns the exit status.
int run(const cli::CommandLine& line);

}  // namespace oneshot
