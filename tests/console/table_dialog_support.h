// Whole-program runs for the table dialog transcripts: each run has a
// directory of its own as current directory (for prime.dat), may set
// environment variables (memory refusals, file failures) and a file-size
// limit, and is compared with the CP932 of an expected UTF-8 transcript.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace table_dialog {

// Under the sanitizers the sieve runs some 30 times slower (about 28 s for
// a 128 MB block); the rebuilds that only repeat release-build coverage with
// more large blocks are skipped there.
#if defined(__SANITIZE_ADDRESS__)
inline constexpr bool kSanitized = true;
#else
inline constexpr bool kSanitized = false;
#endif

struct Options {
    std::vector<std::string> environment;  // "NAME=value"
    uint64_t fileSizeLimit = 0;            // bytes; 0: none
};

struct Result {
    std::string out;  // standard output, time stamps masked
    int status = -1;  // exit status; -1 when the program did not exit normally
};

// Runs the program (Q64_PRIMES_BIN) in `dir` with `input` on standard input.
// `dir` may be deeper than the kernel's path length: it is entered one
// component at a time.
Result run(const std::string& dir, const std::string& input, const Options& options = {});

// A fresh directory, removed with everything in it at the end.
struct TempDir {
    std::string path;  // as the kernel reports it (symbolic links resolved)
    TempDir();
    ~TempDir();
    std::string file(const std::string& name = "prime.dat") const { return path + "/" + name; }
    std::string listing() const;  // the names in it, sorted, one per line
};

std::string readFile(const std::string& path);
void writeFile(const std::string& path, const std::string& bytes);

// Expects `got` to be the CP932 of `wantUtf8`, showing both in UTF-8 if not.
void expectOutput(const std::string& got, const std::string& wantUtf8);
// Expects `got` to hold the CP932 of `partUtf8` somewhere.
void expectOutputHolds(const std::string& got, const std::string& partUtf8);

// Texts that many transcripts share (UTF-8).
extern const std::string kStart;       // opening line, start stamp, statistics
extern const std::string kMain;        // main menu prompt
extern const std::string kTableEntry;  // table menu header and prompt
extern const std::string kTable;       // table menu prompt
extern const std::string kEnd;         // main menu prompt, farewell, end stamp
extern const std::string kConfirm;     // the confirmation prompt
// The "現" statistics line: size in MB, prime count, largest prime.
std::string current(uint64_t megabytes, uint64_t primes, uint64_t largest);
// The statistics line after a change.
std::string changed(uint64_t megabytes, uint64_t primes, uint64_t largest);
// The primality test heading for a table whose largest prime is `largest`.
std::string primeTestHeading(uint64_t largest);

}  // namespace table_dialog
