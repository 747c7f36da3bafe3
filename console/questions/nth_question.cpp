// nth K...: 'K: P', P the K-th prime: from the table among its primes,
// beyond them by the library's count (_5_prmnthx) up to the last prime below
// 2^64, the 425656284035217743-th.
#include <string>
#include <vector>

#include "console/console_state.h"
#include "console/questions/answers.h"
#include "q64/m5_primequery.h"

namespace oneshot {

void answerNth(Answers& out, const std::vector<std::string>& operands) {
    for (const std::string& text : operands) {
        uint64_t k;
        if (!out.count(text, 1, k)) continue;
        if (k > PRIMES_BELOW_2_64) {
            out.error(text, "beyond the primes below 2^64 (the last is the " + std::to_string(PRIMES_BELOW_2_64) + "-th)",
                      kBeyondTable);
            continue;
        }
        const TableBlock* head = table();
        const uint64_t inTable = head == nullptr ? 0 : static_cast<uint64_t>(console.primeCount);
        const uint64_t prime = k <= inTable ? _5_prmnoth(k, head) : _5_prmnthx(k);
        if (prime == ~uint64_t{0}) {
            out.error(text, "not counted (memory was refused)", kBeyondTable);
            continue;
        }
        out.line(text + ": " + std::to_string(prime));
    }
}

}  // namespace oneshot
