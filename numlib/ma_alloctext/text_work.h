// The static conversion record of the text writers (internal, C++ only):
// _a_numtostr, _a_numtoestr, _a_numtoestrn and _a_divpetan keep their
// intermediate values here, so none of them is reentrant. No routine reads it
// between calls.
#pragma once

#include <cstdint>

namespace textconv {

struct Conversion {
    char* buffer;        // the text being written
    uint64_t* record;    // the record it is written from
    uint64_t bitBudget;  // bits the d-digit form keeps of the mantissa
    uint64_t* first;     // first significant mantissa word
    uint64_t count;      // significant words from there
    uint64_t divisions;  // divisions by 10^16 of the d-digit form
    char* cursor;        // where the next character goes
};

extern Conversion conversion;

}  // namespace textconv
