// isprime N...: 'N: prime', 'N: composite' or 'N: neither', from the table up
// to its query limit, beyond it from the library's proven test.
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
        const int64_t verdict =
            withinTable(n) ? _5_primetst(n.lo, n.hi, table()) : _5_primetstx(n.lo, n.hi);
        out.line(text + (verdict == 0 ? ": prime" : ": composite"));
    }
}

}  // namespace oneshot
