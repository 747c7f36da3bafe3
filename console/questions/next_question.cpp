// next N [COUNT]: the COUNT primes after N, one per line, from the table below
// its query limit, beyond it from the library's window sieve; where fewer
// than COUNT primes remain below 2^128, those and an error line.
#include <string>
#include <vector>

#include "console/console_state.h"
#include "console/questions/answers.h"
#include "q64/m5_primequery.h"

namespace oneshot {

namespace {

bool failed(Q2Value v) { return v.lo == ~uint64_t{0} && v.hi == ~uint64_t{0}; }

}  // namespace

void answerNext(Answers& out, const std::vector<std::string>& operands) {
    Q2Value running;
    uint64_t count = 1;
    const bool haveStart = out.number(operands[0], running);
    if (operands.size() == 2 && !out.count(operands[1], 0, count)) return;
    if (!haveStart) return;
    for (uint64_t found = 0; found < count; ++found) {
        Q2Value prime;
        if (!withinTable(running) || _5_prmnxnum(&prime, &running, table()) != 0)
            prime = _5_prmnextx(running.lo, running.hi);
        if (failed(prime))
            return out.error(operands[0],
                             "only " + std::to_string(found) + " of the " + std::to_string(count) +
                                 " primes after it lie below 2^128 (the last is 2^128 - 159)",
                             kBeyondTable);
        out.line(decimal(prime));
        running = prime;
    }
}

}  // namespace oneshot
