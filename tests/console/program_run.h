// Runs of the whole program (Q64_PRIMES_BIN, else the path it was built at)
// with scripted standard input: fork and exec, no shell. Each run has a
// directory of its own as current directory, so no two runs share a
// prime.dat; a run may set environment variables (memory refusals, file
// failures) and a file-size limit. Time stamps in the output are masked.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace console_test {

// Under the sanitizers the sieve runs some 30 times slower (about 28 s for
// a 128 MB block); the rebuilds that only repeat release-build coverage with
// more large blocks are skipped there.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kSanitized = true;
#else
inline constexpr bool kSanitized = false;
#endif

// What stands in the output for the 23 characters of each start and end
// time stamp (YYYY/MM/DD hh:mm:ss.mmm).
inline const std::string kMaskedStamp(23, '#');

struct RunOptions {
    std::vector<std::string> environment;  // "NAME=value"
    uint64_t fileSizeLimit = 0;            // bytes; 0: none
    std::vector<std::string> arguments = {};  // after the program's name
};

// Options that only pass arguments.
inline RunOptions withArguments(std::vector<std::string> arguments) {
    RunOptions options;
    options.arguments = std::move(arguments);
    return options;
}

struct RunResult {
    std::string out;  // standard output, time stamps masked
    std::string err;  // standard error
    int status = -1;  // exit status; -1 when the program did not exit normally
};

// Runs the program in `dir` with `input` on standard input. `dir` may be
// deeper than the kernel's path length: it is entered one component at a
// time. A program that hangs is stopped after ten minutes.
RunResult runProgram(const std::string& dir, const std::string& input, const RunOptions& options = {});

// Runs the program once with `arguments` (and `environment`) in a fresh
// directory, with nothing on standard input: a one-shot question.
RunResult askOnce(std::vector<std::string> arguments, std::vector<std::string> environment = {});

// A fresh directory, removed with everything in it at the end.
struct TempDir {
    std::string path;  // as the kernel reports it (symbolic links resolved)
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string file(const std::string& name = "prime.dat") const { return path + "/" + name; }
    std::string listing() const;  // the names in it, sorted, one per line
};

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);

// Expects `got` to be the CP932 of `wantUtf8`, showing both in UTF-8 if not.
void expectOutput(const std::string& got, const std::string& wantUtf8);
// Expects `got` to hold the CP932 of `partUtf8` somewhere.
void expectOutputHolds(const std::string& got, const std::string& partUtf8);

// Runs `input` in a fresh directory; expects exit status 0 and the output
// `wantUtf8`.
void expectTranscript(const std::string& input, const std::string& wantUtf8, const RunOptions& options = {});

}  // namespace console_test
