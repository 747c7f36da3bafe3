// Literal reference versions of the four prime questions: each loop exactly
// as the design describes it (trial division by every table prime, one
// division at a time), to compare the fast routines with.
#pragma once

#include <cstdint>

#include "primetable/table_words.h"
#include "q64/base.h"
#include "q64/m5_primequery.h"

namespace literal {

using u128 = unsigned __int128;

inline constexpr u128 kFailed = ~static_cast<u128>(0);

// Primality test: 0 prime, 1 not prime, -1 undecided.
int64_t primetst(u128 n, const TableBlock* head);
int64_t primetst2(u128 n, const TableBlock* head);

// Next prime; kFailed on failure.
u128 prmnext(u128 n, const TableBlock* head);
u128 prmtnext(uint64_t n, const TableBlock* head);
u128 prmttnext(u128 n, const TableBlock* head);
u128 prmnmnte(u128 n);
// The divisor loop of the trial division with the bound B (P^2).
uint64_t prmchknum(u128 x, u128 bound, const TableBlock* head);

// n-th prime; all ones when the table ends first (n >= 1).
uint64_t prmnoth(uint64_t n, const TableBlock* head);

// Factorisation into `list`; -1 or s plus the cofactor count.
int64_t prmfct(FactorList* list, u128 n, const TableBlock* head);
uint64_t prmfctnext(uint64_t d, const TableBlock* head);

}  // namespace literal
