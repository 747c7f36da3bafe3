#include "tests/console/console_test_support.h"

#include <gtest/gtest.h>
#include <iconv.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

namespace console_test {

namespace {
// Converts with iconv; `exact` makes an unconvertible byte a test failure,
// otherwise such bytes are shown as '?'.
std::string convert(const char* to, const char* from, const std::string& text, bool exact) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        ADD_FAILURE() << "iconv cannot convert " << from << " to " << to;
        return {};
    }
    std::vector<char> in(text.begin(), text.end()), out(text.size() * 3 + 8);
    char* inPtr = in.data();
    char* outPtr = out.data();
    size_t inLeft = in.size(), outLeft = out.size();
    while (inLeft != 0) {
        if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1)) break;
        if (exact) {
            ADD_FAILURE() << "not convertible to " << to << ": " << text;
            break;
        }
        *outPtr++ = '?';
        --outLeft;
        ++inPtr;
        --inLeft;
    }
    iconv_close(cd);
    return std::string(out.data(), outPtr);
}
}  // namespace

std::string cp932(const std::string& utf8Text) { return convert("CP932", "UTF-8", utf8Text, true); }

std::string utf8(const std::string& cp932Bytes) { return convert("UTF-8", "CP932", cp932Bytes, false); }

std::string captureStdout(const std::function<void()>& fn) {
    std::fflush(stdout);
    std::FILE* tmp = std::tmpfile();
    int saved = dup(fileno(stdout));
    dup2(fileno(tmp), fileno(stdout));
    fn();
    std::fflush(stdout);
    dup2(saved, fileno(stdout));
    close(saved);
    std::rewind(tmp);
    std::string text;
    for (int c; (c = std::fgetc(tmp)) != EOF;) text += static_cast<char>(c);
    std::fclose(tmp);
    return text;
}

namespace {
std::string readFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

std::string tempPath(const char* tag) {
    char name[] = "/tmp/q64_console_XXXXXX";
    int fd = mkstemp(name);
    if (fd >= 0) close(fd);
    return std::string(name) + tag;
}
}  // namespace

Run runProgram(const std::string& input, const std::string& environment) {
    const char* bin = std::getenv("Q64_PRIMES_BIN");
    if (bin == nullptr || *bin == '\0') bin = Q64_PRIMES_BIN_PATH;
    if (bin == nullptr || *bin == '\0') {
        ADD_FAILURE() << "Q64_PRIMES_BIN is not set";
        return {"", -1};
    }
    std::string base = tempPath("");
    std::string in = base + ".in", out = base + ".out";
    std::ofstream(in, std::ios::binary) << input;
    // Run in /tmp so that no prime.dat of the work tree is touched; a program
    // that hangs is stopped after 60 s (exit status 124).
    std::string command = "cd /tmp && env " + environment + " timeout 60 '" + bin + "' < '" + in +
                          "' > '" + out + "'";
    int raw = std::system(command.c_str());
    Run run{readFile(out), WIFEXITED(raw) ? WEXITSTATUS(raw) : -1};
    std::remove(in.c_str());
    std::remove(out.c_str());
    std::remove(base.c_str());
    return run;
}

std::string maskTimeStamps(const std::string& out) {
    std::string masked = out;
    for (const char* tag : {"\nsta ", "\nend "}) {
        for (size_t at = masked.find(tag); at != std::string::npos; at = masked.find(tag, at + 1)) {
            size_t from = at + 5;
            std::string stamp = masked.substr(from, 23);
            const std::string shape = "dddd/dd/dd dd:dd:dd.ddd";
            bool ok = stamp.size() == shape.size();
            for (size_t i = 0; ok && i < shape.size(); ++i)
                ok = shape[i] == 'd' ? std::isdigit(static_cast<unsigned char>(stamp[i])) != 0
                                     : stamp[i] == shape[i];
            EXPECT_TRUE(ok) << "time stamp " << stamp;
            masked.replace(from, stamp.size(), kMaskedStamp.substr(0, stamp.size()));
        }
    }
    return masked;
}

}  // namespace console_test
