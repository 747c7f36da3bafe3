// The multiplication methods (internal, C++ only): schoolbook, Karatsuba,
// Toom-3 and Toom-4 products and squares of word arrays (most significant word first),
// and the choice among them by size (numlib/tuning.h).
//
// Every product is written to r, which overlaps no operand. Methods that
// need work memory take it as tp, a block of at least the words its
// ...Scratch function names (the block is a part of the working stack that
// the caller took); the block's contents do not matter on entry or exit.
#pragma once

#include <cstdint>

namespace m1 {

// r[0..na+nb-1] = A * B, na, nb >= 1. One row of B's words at a time.
void mulBasecase(uint64_t* r, const uint64_t* a, uint64_t na, const uint64_t* b, uint64_t nb);
// r[0..2n-1] = A^2, n >= 1: each cross product once, doubled, plus the squares.
void sqrBasecase(uint64_t* r, const uint64_t* a, uint64_t n);

// r[0..2n-1] = A * B (A^2), n >= 1, by the method the thresholds pick for n.
void mulN(uint64_t* r, const uint64_t* a, const uint64_t* b, uint64_t n, uint64_t* tp);
void sqrN(uint64_t* r, const uint64_t* a, uint64_t n, uint64_t* tp);
uint64_t mulNScratch(uint64_t n);
uint64_t sqrNScratch(uint64_t n);

// r[0..na+nb-1] = A * B for na >= nb >= 1: balanced pieces of nb words of A,
// each by mulN.
void mul(uint64_t* r, const uint64_t* a, uint64_t na, const uint64_t* b, uint64_t nb, uint64_t* tp);
uint64_t mulScratch(uint64_t na, uint64_t nb);

// r = A * B (either operand the longer) and r = A^2 with work memory from
// the working stack: by the method for their sizes when its work memory
// fits, else as products of pieces of A as large as fit (squares: by the
// schoolbook). The stack is as before on return.
void mulWithStack(uint64_t* r, const uint64_t* a, uint64_t na, const uint64_t* b, uint64_t nb);
void sqrWithStack(uint64_t* r, const uint64_t* a, uint64_t n);

// The methods themselves (the sub-products by mulN and sqrN). Karatsuba for
// n >= 2, Toom-3 for n >= 9, Toom-4 for n >= 16.
void mulKaratsuba(uint64_t* r, const uint64_t* a, const uint64_t* b, uint64_t n, uint64_t* tp);
void sqrKaratsuba(uint64_t* r, const uint64_t* a, uint64_t n, uint64_t* tp);
uint64_t mulKaratsubaScratch(uint64_t n);
uint64_t sqrKaratsubaScratch(uint64_t n);
void mulToom3(uint64_t* r, const uint64_t* a, const uint64_t* b, uint64_t n, uint64_t* tp);
void sqrToom3(uint64_t* r, const uint64_t* a, uint64_t n, uint64_t* tp);
uint64_t mulToom3Scratch(uint64_t n);
uint64_t sqrToom3Scratch(uint64_t n);
void mulToom4(uint64_t* r, const uint64_t* a, const uint64_t* b, uint64_t n, uint64_t* tp);
void sqrToom4(uint64_t* r, const uint64_t* a, uint64_t n, uint64_t* tp);
uint64_t mulToom4Scratch(uint64_t n);
uint64_t sqrToom4Scratch(uint64_t n);

// Work memory of a Toom method that keeps `kept` products of pieces of m + 1
// words (2m + 2 words each) while its sub-products (pieces of m + 1, m and s
// words) run, with the work memory `sub` of those.
uint64_t toomScratch(uint64_t kept, uint64_t m, uint64_t s, uint64_t (*sub)(uint64_t));

}  // namespace m1
