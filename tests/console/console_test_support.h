// Helpers of the console tests: CP932 conversion and captured standard
// output (whole-program runs are in program_run.h).
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

}  // namespace console_test
