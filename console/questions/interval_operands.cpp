#include "console/questions/interval_operands.h"

namespace oneshot {

bool intervalOperands(Answers& out, const std::vector<std::string>& operands, uint64_t& a, uint64_t& b) {
    const bool haveA = out.count(operands[0], 0, a);
    const bool haveB = out.count(operands[1], 0, b);
    if (!haveA || !haveB) return false;
    if (a > b) {
        out.error(operands[0], "above the end of the interval, " + operands[1], kMalformed);
        return false;
    }
    return true;
}

}  // namespace oneshot
