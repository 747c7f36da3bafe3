// What a one-shot question writes: one line per answer on standard output,
// one line per error on standard error naming the question, the number and
// the reason; the exit status is the worst seen.
#pragma once

#include <cstdint>
#include <string>

#include "q64/base.h"

namespace oneshot {

// The exit statuses: every number answered; some could not be answered
// (beyond the table, past the last prime); malformed input.
inline constexpr int kAnswered = 0;
inline constexpr int kBeyondTable = 1;
inline constexpr int kMalformed = 2;

// The decimal text of a 128-bit value.
std::string decimal(Q2Value v);

// The reason given for a number beyond the current table's reach: "beyond
// what the table decides (up to L)", L its query limit.
std::string beyondTable();

class Answers {
public:
    explicit Answers(const char* question) : question_(question) {}
    int status() const { return status_; }

    void line(const std::string& text);
    void error(const std::string& number, const std::string& reason, int status);

    // The number as the console reads it: decimal digits only, below 2^128.
    bool number(const std::string& text, Q2Value& value);
    // A number below 2^64 of at least `least` (1 where 0 has no meaning).
    bool count(const std::string& text, uint64_t least, uint64_t& value);

private:
    const char* question_;
    int status_ = kAnswered;
};

}  // namespace oneshot
