// The operands A B of count and list: 0 <= A <= B < 2^64.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "console/questions/answers.h"

namespace oneshot {

// False (with the error written) when either is malformed or A > B.
bool intervalOperands(Answers& out, const std::vector<std::string>& operands, uint64_t& a, uint64_t& b);

}  // namespace oneshot
