// next N [COUNT]: the COUNT primes after N, one per line, from the table.
#include <string>
#include <vector>

#include "console/console_state.h"
#include "console/questions/answers.h"
#include "q64/m5_primequery.h"

namespace oneshot {

void answerNext(Answers& out, const std::vector<std::string>& operands) {
    Q2Value running;
    uint64_t count = 1;
    const bool haveStart = out.number(operands[0], running);
    if (operands.size() == 2 && !out.count(operands[1], 0, count)) return;
    if (!haveStart) return;
    for (uint64_t found = 0; found < count; ++found) {
        Q2Value prime;
        if (_5_prmnxnum(&prime, &running, console.tableHead) != 0)
            return out.error(operands[0],
                             "the table gives only " + std::to_string(found) + " of the " + std::to_string(count) +
                                 " primes after it (" + beyondTable() + ")",
                             kBeyondTable);
        out.line(decimal(prime));
        running = prime;
    }
}

}  // namespace oneshot
