// Word-array kernels of the library (internal, C++ only): the loops every
// multiplication, division and conversion routine is built from. Arrays are
// most significant word first, as everywhere in the library; a kernel walks
// from the least significant word (the last) toward word 0, and what leaves
// word 0 is returned, never stored.
//
// n may be 0 (nothing is done, 0 is returned). Where a result array may
// overlap a source, the contract says how.
//
// The x86-64 versions are inline assembly with the carries kept in flags:
// addN and subN run on any x86-64; the one-word multipliers use MULX, ADCX
// and ADOX when the processor has them (checked once at load) and the
// portable loops otherwise. Other targets use the portable loops.
#pragma once

#include <cstdint>

namespace m1 {

// The portable loops, also the reference the tests hold the others to.
namespace portable {
uint64_t addN(uint64_t* r, const uint64_t* a, const uint64_t* b, uint64_t n);
uint64_t subN(uint64_t* r, const uint64_t* a, const uint64_t* b, uint64_t n);
uint64_t mul1(uint64_t* r, const uint64_t* a, uint64_t n, uint64_t m);
uint64_t addMul1(uint64_t* r, const uint64_t* a, uint64_t n, uint64_t m);
uint64_t subMul1(uint64_t* r, const uint64_t* a, uint64_t n, uint64_t m);
}  // namespace portable

#if defined(__x86_64__)
namespace x86 {
uint64_t addN(uint64_t* r, const uint64_t* a, const uint64_t* b, uint64_t n);
uint64_t subN(uint64_t* r, const uint64_t* a, const uint64_t* b, uint64_t n);
// These three need BMI2 and ADX (hasMulx).
uint64_t mul1(uint64_t* r, const uint64_t* a, uint64_t n, uint64_t m);
uint64_t addMul1(uint64_t* r, const uint64_t* a, uint64_t n, uint64_t m);
uint64_t subMul1(uint64_t* r, const uint64_t* a, uint64_t n, uint64_t m);
// True when the processor has MULX, ADCX and ADOX (false until set at load).
extern const bool hasMulx;
}  // namespace x86
#endif

// r = A + B over n words; returns the carry (0 or 1). r may be a or b.
inline uint64_t addN(uint64_t* r, const uint64_t* a, const uint64_t* b, uint64_t n) {
#if defined(__x86_64__)
    return x86::addN(r, a, b, n);
#else
    return portable::addN(r, a, b, n);
#endif
}

// r = A - B over n words; returns the borrow (0 or 1). r may be a or b.
inline uint64_t subN(uint64_t* r, const uint64_t* a, const uint64_t* b, uint64_t n) {
#if defined(__x86_64__)
    return x86::subN(r, a, b, n);
#else
    return portable::subN(r, a, b, n);
#endif
}

// r = A * m over n words; returns the word above them. r may be a, or a + 1
// (the product then ends one word further on, as _1_muln needs).
inline uint64_t mul1(uint64_t* r, const uint64_t* a, uint64_t n, uint64_t m) {
#if defined(__x86_64__)
    if (x86::hasMulx) return x86::mul1(r, a, n, m);
#endif
    return portable::mul1(r, a, n, m);
}

// r += A * m over n words; returns the carry word. r does not overlap a.
inline uint64_t addMul1(uint64_t* r, const uint64_t* a, uint64_t n, uint64_t m) {
#if defined(__x86_64__)
    if (x86::hasMulx) return x86::addMul1(r, a, n, m);
#endif
    return portable::addMul1(r, a, n, m);
}

// r -= A * m over n words; returns the borrow word. r does not overlap a.
inline uint64_t subMul1(uint64_t* r, const uint64_t* a, uint64_t n, uint64_t m) {
#if defined(__x86_64__)
    if (x86::hasMulx) return x86::subMul1(r, a, n, m);
#endif
    return portable::subMul1(r, a, n, m);
}

// *out = x + y + carry (carry 0 or 1); returns the carry out.
inline uint64_t addCarry(uint64_t carry, uint64_t x, uint64_t y, uint64_t* out) {
    uint64_t s;
    const uint64_t c1 = __builtin_add_overflow(x, y, &s);
    const uint64_t c2 = __builtin_add_overflow(s, carry, out);
    return c1 | c2;
}

// Adds the word c at the last word of a[0..n-1] and carries toward a[0];
// returns the carry out of a[0] (0 or 1; c itself when n = 0).
inline uint64_t addWord(uint64_t* a, uint64_t n, uint64_t c) {
    for (uint64_t i = n; c != 0 && i-- > 0;) {
        a[i] += c;
        c = a[i] < c;
    }
    return c;
}

// Subtracts the word c at the last word of a[0..n-1] and borrows toward a[0];
// returns the borrow out of a[0] (0 or 1; c itself when n = 0).
inline uint64_t subWord(uint64_t* a, uint64_t n, uint64_t c) {
    for (uint64_t i = n; c != 0 && i-- > 0;) {
        const uint64_t x = a[i];
        a[i] = x - c;
        c = x < c;
    }
    return c;
}

}  // namespace m1
