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

#include "numlib/tuning.h"

#if defined(__x86_64__)
#include <x86intrin.h>
#endif

namespace m1 {

// The portable loops: one word at a time with a 128-bit product and a
// running carry word (a word times a word plus two words never exceeds 128
// bits). They serve short arrays everywhere (a call into the assembly costs
// more than they do), every array where the assembly cannot run, and the
// tests as the reference.
namespace portable {
using u128 = unsigned __int128;

// r = A + B, or A - B when subtract (a constant at every call); the carry
// (borrow) out of r[0]. The add-with-carry intrinsics make one ADC (SBB) per
// word on x86-64.
inline uint64_t addOrSubN(bool subtract, uint64_t* r, const uint64_t* a, const uint64_t* b, uint64_t n) {
#if defined(__x86_64__)
    unsigned char carry = 0;
#pragma GCC unroll 1
    for (uint64_t i = n; i-- > 0;) {
        unsigned long long v;
        carry = subtract ? _subborrow_u64(carry, a[i], b[i], &v) : _addcarry_u64(carry, a[i], b[i], &v);
        r[i] = v;
    }
    return carry;
#else
    uint64_t carry = 0;
#pragma GCC unroll 1
    for (uint64_t i = n; i-- > 0;) {
        uint64_t v;
        const uint64_t c1 =
            subtract ? __builtin_sub_overflow(a[i], b[i], &v) : __builtin_add_overflow(a[i], b[i], &v);
        const uint64_t c2 =
            subtract ? __builtin_sub_overflow(v, carry, &r[i]) : __builtin_add_overflow(v, carry, &r[i]);
        carry = c1 | c2;
    }
    return carry;
#endif
}

inline uint64_t addN(uint64_t* r, const uint64_t* a, const uint64_t* b, uint64_t n) {
    return addOrSubN(false, r, a, b, n);
}

inline uint64_t subN(uint64_t* r, const uint64_t* a, const uint64_t* b, uint64_t n) {
    return addOrSubN(true, r, a, b, n);
}

// Each a[i] is read before r[i] is written, so r may be a or a + 1.
inline uint64_t mul1(uint64_t* r, const uint64_t* a, uint64_t n, uint64_t m) {
    uint64_t carry = 0;
#pragma GCC unroll 1
    for (uint64_t i = n; i-- > 0;) {
        const u128 p = static_cast<u128>(a[i]) * m + carry;
        r[i] = static_cast<uint64_t>(p);
        carry = static_cast<uint64_t>(p >> 64);
    }
    return carry;
}

inline uint64_t addMul1(uint64_t* r, const uint64_t* a, uint64_t n, uint64_t m) {
    uint64_t carry = 0;
#pragma GCC unroll 1
    for (uint64_t i = n; i-- > 0;) {
        const u128 p = static_cast<u128>(a[i]) * m + r[i] + carry;
        r[i] = static_cast<uint64_t>(p);
        carry = static_cast<uint64_t>(p >> 64);
    }
    return carry;
}

inline uint64_t subMul1(uint64_t* r, const uint64_t* a, uint64_t n, uint64_t m) {
    uint64_t carry = 0;  // high half of the running product plus borrows
#pragma GCC unroll 1
    for (uint64_t i = n; i-- > 0;) {
        const u128 p = static_cast<u128>(a[i]) * m + carry;
        const uint64_t lo = static_cast<uint64_t>(p), x = r[i];
        carry = static_cast<uint64_t>(p >> 64) + (x < lo);
        r[i] = x - lo;
    }
    return carry;
}
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
    if (n >= tuning::kKernelWords) return x86::addN(r, a, b, n);
#endif
    return portable::addN(r, a, b, n);
}

// r = A - B over n words; returns the borrow (0 or 1). r may be a or b.
inline uint64_t subN(uint64_t* r, const uint64_t* a, const uint64_t* b, uint64_t n) {
#if defined(__x86_64__)
    if (n >= tuning::kKernelWords) return x86::subN(r, a, b, n);
#endif
    return portable::subN(r, a, b, n);
}

// r = A * m over n words; returns the word above them. r may be a, or a + 1
// (the product then ends one word further on, as _1_muln needs).
inline uint64_t mul1(uint64_t* r, const uint64_t* a, uint64_t n, uint64_t m) {
#if defined(__x86_64__)
    if (n >= tuning::kKernelWords && x86::hasMulx) return x86::mul1(r, a, n, m);
#endif
    return portable::mul1(r, a, n, m);
}

// r += A * m over n words; returns the carry word. r does not overlap a.
inline uint64_t addMul1(uint64_t* r, const uint64_t* a, uint64_t n, uint64_t m) {
#if defined(__x86_64__)
    if (n >= tuning::kKernelWords && x86::hasMulx) return x86::addMul1(r, a, n, m);
#endif
    return portable::addMul1(r, a, n, m);
}

// r -= A * m over n words; returns the borrow word. r does not overlap a.
inline uint64_t subMul1(uint64_t* r, const uint64_t* a, uint64_t n, uint64_t m) {
#if defined(__x86_64__)
    if (n >= tuning::kKernelWords && x86::hasMulx) return x86::subMul1(r, a, n, m);
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
