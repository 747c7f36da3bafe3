#include "console/questions/answers.h"

#include <cstdio>

#include "console/console_state.h"
#include "q64/m0_utilities.h"

namespace oneshot {

std::string decimal(Q2Value v) {
    char digits[40];
    return std::string(digits, _0_numq2tostr(digits, v.lo, v.hi));
}

std::string beyondTable() { return "beyond what the table decides (up to " + decimal(console.queryLimit) + ")"; }

void Answers::line(const std::string& text) { std::printf("%s\n", text.c_str()); }

void Answers::error(const std::string& number, const std::string& reason, int status) {
    std::fflush(stdout);  // answers and errors keep their order on a terminal
    std::fprintf(stderr, "primes: %s: %s: %s\n", question_, number.c_str(), reason.c_str());
    if (status > status_) status_ = status;
}

bool Answers::number(const std::string& text, Q2Value& value) {
    if (text.empty() || _0_dgtlen(text.c_str()) != text.size()) {
        error(text, "not a decimal number", kMalformed);
        return false;
    }
    if (_0_strtobigar(&value, text.c_str(), text.size()) == nullptr) {
        error(text, "too large (above 2^128 - 1)", kMalformed);
        return false;
    }
    return true;
}

bool Answers::count(const std::string& text, uint64_t least, uint64_t& value) {
    Q2Value v;
    if (!number(text, v)) return false;
    if (v.hi != 0) {
        error(text, "too large (above 2^64 - 1)", kMalformed);
        return false;
    }
    if (v.lo < least) {
        error(text, "must be at least 1 (there is no 0-th prime)", kMalformed);
        return false;
    }
    value = v.lo;
    return true;
}

}  // namespace oneshot
