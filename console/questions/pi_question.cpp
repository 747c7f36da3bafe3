// pi X...: 'X: N', N the number of primes <= X: from the table's prime-count
// index up to its largest prime, beyond it by the library's count (_5_prmpi)
// for every X below 2^64.
#include <string>
#include <vector>

#include "console/console_state.h"
#include "console/questions/answers.h"
#include "q64/m5_primequery.h"

namespace oneshot {

namespace {

// The primes <= x of the table (x at most its largest prime): the largest k
// whose k-th prime is <= x, each k-th prime found through the index.
uint64_t countInTable(uint64_t x, const TableBlock* head) {
    uint64_t low = 0, high = static_cast<uint64_t>(console.primeCount);
    while (low < high) {
        const uint64_t mid = low + (high - low + 1) / 2;
        if (_5_prmnoth(mid, head) <= x) low = mid; else high = mid - 1;
    }
    return low;
}

}  // namespace

void answerPi(Answers& out, const std::vector<std::string>& operands) {
    for (const std::string& text : operands) {
        uint64_t x;
        if (!out.count(text, 0, x)) continue;
        const TableBlock* head = table();
        const bool inTable = head != nullptr && console.primeMax >= 0 && x <= static_cast<uint64_t>(console.primeMax);
        const uint64_t count = inTable ? countInTable(x, head) : _5_prmpi(x);
        if (count == ~uint64_t{0}) {
            out.error(text, "not counted (memory was refused)", kBeyondTable);
            continue;
        }
        out.line(text + ": " + std::to_string(count));
    }
}

}  // namespace oneshot
