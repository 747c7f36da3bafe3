#include "tests/console/console_test_support.h"

#include <gtest/gtest.h>
#include <iconv.h>
#include <unistd.h>

#include <cstdio>
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

}  // namespace console_test
