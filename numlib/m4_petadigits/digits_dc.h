// Decimal conversion of word arrays by divide and conquer, and the one-group
// steps it falls back to (internal, C++ only). Word arrays are most
// significant word first.
#pragma once

#include <cstdint>

namespace m4 {

// Writing (digits_out.cpp): the digits of a[0..n-1] (n >= 1) by repeated
// division by 10^16, as _4_numtostr has them for n >= 1. Destroys a.
uint64_t digitsBySteps(char* out, uint64_t* a, uint64_t n);

// Writing by halves (digits_out_dc.cpp): for an array of at least
// tuning::kToTextDC significant words, writes its digits (no leading zeros)
// at out, sets *count and returns true. Destroys a. False, nothing touched,
// for a shorter array or when the working stack cannot hold the power
// ladder (about 0.6 words per word of a).
bool digitsByHalves(char* out, uint64_t* a, uint64_t n, uint64_t* count);
// The working-stack words that writing a[0..n-1] by halves takes before it
// starts (its ladder); each split takes more while it runs, or writes its
// part by the steps when it finds no room.
uint64_t digitsByHalvesStack(const uint64_t* a, uint64_t n);

// Peta digits read from text: grouped from the right (the first count mod 16
// digits form the first peta digit, as _4_strntonumr groups them) or from
// the left (the last count mod 16 digits, padded with zeros on the right,
// form the last, as _4_strlntonumr groups them).
struct PetaDigits {
    const char* digits;
    uint64_t count;
    bool fromLeft;
    uint64_t groups() const { return (count + 15) / 16; }
    uint64_t value(uint64_t t) const;
};

// Reading by halves (digits_in_dc.cpp): a = A * 10^(16 g) + V for the g peta
// digits V (A = a[0..lenv-1], a[0] != 0 unless lenv = 0), with the words
// that _4_mpetadd one group at a time would leave in a[0..L] (L the new
// length, which is returned in *length). False, nothing touched, when the
// digits make fewer than tuning::kFromTextDC words or the working stack
// cannot hold the power ladder.
bool readByHalves(uint64_t* a, uint64_t lenv, const PetaDigits& digits, uint64_t* length);
// The working-stack words that reading g peta digits behind lenv words takes
// before it starts (its ladder and the number's block); each split takes
// more while it runs, or reads its part one peta digit at a time when it
// finds no room.
uint64_t readByHalvesStack(uint64_t lenv, uint64_t g);

}  // namespace m4
