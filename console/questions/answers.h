// What a one-shot question writes: one line per answer on standard output,
// one line per error on standard error naming the question, the number and
// the reason; the exit status is the worst seen.
#pragma once

#include <cstdint>
#include <string>

#include "q64/base.h"
#include "q64/m5_primetable.h"

namespace oneshot {

// The exit statuses: every number answered; some could not be answered
// (the n-th prime beyond the last below 2^64, primes past the last below
// 2^128, a count whose memory was refused); malformed input.
inline constexpr int kAnswered = 0;
inline constexpr int kBeyondTable = 1;
inline constexpr int kMalformed = 2;

// The decimal text of a 128-bit value.
std::string decimal(Q2Value v);

// The 1 MB start table's query limit, 36,699,233 squared: without --table or
// --load the one-shot questions build that table only when a number at or
// below it (or the n-th prime) needs it.
inline constexpr Q2Value kStartQueryLimit{1346833702788289, 0};

// Leaves the start table to be built on first need; the query limit is
// kStartQueryLimit meanwhile.
void deferStartTable();

// The current table, the deferred start table built now if need be; null
// when its memory was refused.
const TableBlock* table();

// Whether the table answers n as the console's dialogs do: n is at most the
// query limit and the table is there (a refused start table leaves every
// number to the library's routines without a table).
bool withinTable(Q2Value n);

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
