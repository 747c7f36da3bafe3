// Texts of the prime questions that need scratch memory beyond a number.
#pragma once

#include "q64/m5_primequery.h"

// Prints the factorisation text of the list ("%s"), built in a 32-word
// scratch block that is given back afterwards; prints "?" when no such block
// can be had.
void sayFactorisation(const FactorList* list);
