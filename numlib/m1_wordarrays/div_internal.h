// The multiply-subtract step shared by the long division (div.cpp) and the
// quotient correction routines (divstep.cpp) (internal, C++ only).
#pragma once

#include <cstdint>

namespace m1 {

// W -= q * B over nb + 1 words (W: w[0..nb], B: b[0..nb-1]); returns 1 when
// the result went negative (a borrow out of w[0]), else 0.
inline uint64_t subMul(uint64_t* w, const uint64_t* b, uint64_t nb, uint64_t q) {
    uint64_t carry = 0;  // high half of the running product plus borrows
    for (uint64_t i = nb; i-- > 0;) {
        unsigned __int128 p = static_cast<unsigned __int128>(q) * b[i] + carry;
        uint64_t lo = static_cast<uint64_t>(p), x = w[i + 1];
        carry = static_cast<uint64_t>(p >> 64) + (x < lo);
        w[i + 1] = x - lo;
    }
    uint64_t x = w[0];
    w[0] = x - carry;
    return x < carry;
}

}  // namespace m1
