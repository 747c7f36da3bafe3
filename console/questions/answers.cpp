#include "console/questions/answers.h"

#include <cstdio>

#include "console/console_state.h"
#include "console/statistics.h"
#include "console/table_chain.h"
#include "q64/m0_utilities.h"

namespace oneshot {

std::string decimal(Q2Value v) {
    char digits[40];
    return std::string(digits, _0_numq2tostr(digits, v.lo, v.hi));
}

namespace {
bool startTableDeferred = false;
}  // namespace

void deferStartTable() {
    startTableDeferred = true;
    console.queryLimit = kStartQueryLimit;
}

const TableBlock* table() {
    if (startTableDeferred) {
        startTableDeferred = false;
        buildStartTable();
        refreshStatistics();
    }
    return console.tableHead;
}

bool withinTable(Q2Value n) {
    const Q2Value& limit = console.queryLimit;
    const bool below = n.hi < limit.hi || (n.hi == limit.hi && n.lo <= limit.lo);
    return below && table() != nullptr;
}

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
