// count A B: the number of primes p with A <= p <= B, from the library's
// interval sieve on every thread the run controls allow.
#include <string>
#include <vector>

#include "console/questions/answers.h"
#include "console/questions/interval_operands.h"
#include "console/questions/interval_progress.h"
#include "q64/m5_primetable.h"

namespace oneshot {

void answerCount(Answers& out, const std::vector<std::string>& operands) {
    uint64_t a = 0, b = 0;
    if (!intervalOperands(out, operands, a, b)) return;
    uint64_t count;
    {
        IntervalProgress progress;
        count = _5_prmcount(a, b);
    }
    if (count == ~uint64_t{0}) return out.error(operands[0], "the work memory of the sieve was refused", kBeyondTable);
    out.line(std::to_string(count));
}

}  // namespace oneshot
