// factor N...: 'N: p q ...', the prime factors in ascending order, repeated,
// from the table.
#include <string>
#include <vector>

#include "console/console_state.h"
#include "console/questions/answers.h"
#include "q64/m5_primequery.h"

namespace oneshot {

namespace {
FactorList factors;
}  // namespace

void answerFactor(Answers& out, const std::vector<std::string>& operands) {
    for (const std::string& text : operands) {
        Q2Value n;
        if (!out.number(text, n)) continue;
        if (n.hi == 0 && n.lo < 2) {
            out.line(text + ":");
            continue;
        }
        if (_5_prmfct(&factors, n.lo, n.hi, console.tableHead) < 0) {
            out.error(text, "cannot be factored completely with the table (" + beyondTable() + ")", kBeyondTable);
            continue;
        }
        std::string line = text + ":";
        for (uint64_t i = 0; i < factorCount(&factors); ++i) line += ' ' + std::to_string(factors.word[i]);
        if (cofactorCount(&factors) == 1) {
            const uint64_t at = factorCount(&factors);
            line += ' ' + decimal(Q2Value{factors.word[at], factors.word[at + 1]});
        }
        out.line(line);
    }
}

}  // namespace oneshot
