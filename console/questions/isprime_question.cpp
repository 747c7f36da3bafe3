// isprime N...: 'N: prime', 'N: composite' or 'N: neither', from the table.
#include <string>
#include <vector>

#include "console/console_state.h"
#include "console/questions/answers.h"
#include "q64/m5_primequery.h"

namespace oneshot {

void answerIsPrime(Answers& out, const std::vector<std::string>& operands) {
    for (const std::string& text : operands) {
        Q2Value n;
        if (!out.number(text, n)) continue;
        if (n.hi == 0 && n.lo < 2) {
            out.line(text + ": neither");
            continue;
        }
        switch (_5_primetst(n.lo, n.hi, console.tableHead)) {
            case 0: out.line(text + ": prime"); break;
            case 1: out.line(text + ": composite"); break;
            default:
                out.line(text + ": unknown");
                out.error(text, beyondTable(), kBeyondTable);
        }
    }
}

}  // namespace oneshot
