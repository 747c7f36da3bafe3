// Helpers of the console tests: CP932 conversion, captured standard output,
// and runs of the whole program with scripted standard input.
#pragma once

#include <functional>
#include <string>

namespace console_test {

// The CP932 bytes of a UTF-8 text (glibc iconv); the test fails on a text
// that CP932 cannot hold.
std::string cp932(const std::string& utf8);

// The UTF-8 text of CP932 bytes, for readable failure messages.
std::string utf8(const std::string& cp932Bytes);

// Everything fn writes to standard output through stdio.
std::string captureStdout(const std::function<void()>& fn);

struct Run {
    std::string out;  // the exact bytes of standard output
    int status;       // exit status, or -1 when the program did not exit normally
};
// Runs the program named by Q64_PRIMES_BIN with `input` as standard input and
// the given environment assignments ("NAME=value ..."), within a time limit.
Run runProgram(const std::string& input, const std::string& environment = "");

// Replaces the 23 characters after each "\nsta " and "\nend " with '#', after
// checking that they have the form YYYY/MM/DD hh:mm:ss.mmm.
std::string maskTimeStamps(const std::string& out);
inline const std::string kMaskedStamp(23, '#');

}  // namespace console_test
