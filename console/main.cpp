// The program: the interactive console, or one question from the command line.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "console/command_line.h"
#include "console/lifecycle.h"
#include "console/menu.h"
#include "console/one_shot.h"
#include "console/output.h"
#include "primetable/sieve_threads.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    cli::CommandLine line;
    std::string error;
    if (!cli::parse(args, std::getenv("Q64_THREADS"), line, error)) {
        std::fprintf(stderr, "primes: %s (see primes --help)\n", error.c_str());
        return oneshot::kMalformed;
    }
    if (line.help) {
        std::fputs(cli::usage().c_str(), stdout);
        return 0;
    }
    if (line.version) {
        std::printf("primes %s\n", Q64_VERSION);
        return 0;
    }
    primetable::setSieveThreadCap(line.threads);
    if (line.utf8) output::setEncoding(output::Encoding::Utf8);
    if (line.question != nullptr) return oneshot::run(line);
    startUp();
    mainMenu();
    shutDown();
    return 0;
}
