// factor N...: 'N: p q ...', the prime factors in ascending order, repeated,
// from the table up to its query limit, beyond it from the library's
// complete factorisation.
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
        // Up to the query limit the table factors every number.
        if (!withinTable(n) || _5_prmfct(&factors, n.lo, n.hi, table()) < 0)
            _5_prmfctx(&factors, n.lo, n.hi);
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
