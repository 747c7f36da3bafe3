// nth K...: 'K: P', P the K-th prime, from the table.
#include <string>
#include <vector>

#include "console/console_state.h"
#include "console/questions/answers.h"
#include "q64/m5_primequery.h"

namespace oneshot {

void answerNth(Answers& out, const std::vector<std::string>& operands) {
    if (table() == nullptr) return out.error(operands[0], "no prime table (memory was refused)", kBeyondTable);
    const uint64_t count = static_cast<uint64_t>(console.primeCount);
    for (const std::string& text : operands) {
        uint64_t k;
        if (!out.count(text, 1, k)) continue;
        const uint64_t prime = k <= count ? _5_prmnoth(k, table()) : ~uint64_t{0};
        if (prime == ~uint64_t{0}) {
            out.error(text, "beyond the table's " + std::to_string(count) + " primes", kBeyondTable);
            continue;
        }
        out.line(text + ": " + std::to_string(prime));
    }
}

}  // namespace oneshot
