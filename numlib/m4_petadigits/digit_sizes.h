// The mantissa words that reading a decimal text may need, as an inline
// function without the entry hook: _4_ndsize and the precondition check of
// _a_strtor share it.
#pragma once

#include <cstdint>

#include "numlib/m3_petapowers/peta_sizes.h"

namespace petadigits {

// The integer and fraction digits of m characters make at most
// max(m - 2, 0) div 16 + 2 peta digits (one partial group on each side of the
// point); the extra word is the one a decimal exponent's scaling adds. m is
// the length up to the first "e" or "E", less a leading sign.
inline uint64_t textWords(const char* text, uint64_t len) {
    uint64_t m = 0;
    while (m < len && (text[m] | 0x20) != 'e') ++m;
    if (m != 0 && (text[0] == '+' || text[0] == '-')) --m;
    const uint64_t petaDigits = (m > 2 ? m - 2 : 0) / 16 + 2;
    return peta::wordLength(petaDigits) + 1;
}

}  // namespace petadigits
