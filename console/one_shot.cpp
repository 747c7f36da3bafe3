#include "console/one_shot.h"

#include <unistd.h>

#include <cstdio>
#include <string>

#include "console/console_state.h"
#include "console/output.h"
#include "console/statistics.h"
#include "console/table_chain.h"
#include "console/questions/answers.h"
#include "console/questions/question_table.h"

namespace oneshot {

namespace {

// The table the command line asks for: a rebuilt one of --table MB, a loaded
// one, or the 1 MB start table, which is built only when a question needs it
// (numbers beyond its query limit do not). Progress lines of a rebuild go to
// standard error when it is a terminal; nothing else of the console is
// printed.
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
        deferStartTable();
        return status;
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
    Answers out(line.question->name);
    if ((line.tableMegabytes != 0 || !line.loadFile.empty()) && console.tableHead == nullptr) {
        std::fprintf(stderr, "primes: no prime table (memory was refused)\n");
        status = kBeyondTable;
    } else {
        line.question->answer(out, line.numbers);
    }
    freeChain();
    std::fflush(stdout);
    return out.status() > status ? out.status() : status;
}

}  // namespace oneshot
