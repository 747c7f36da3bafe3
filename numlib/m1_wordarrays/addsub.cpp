// Addition, subtraction and negation of word arrays in place. Carries and
// borrows run toward word 0 and stop there: what leaves word 0 is returned.
//
// _1_add and _1_sub use one running carry instead of a single-word addition
// per word of B; their results equal those of the word-by-word form, since
// at most one carry (borrow) can leave the front of A in either.
#include "q64/m1_wordarrays.h"

#include "profiler/hook.h"

#if defined(__x86_64__)
#include <x86intrin.h>
#endif

namespace {
// *out = x + y + carry; returns the new carry (0 or 1).
inline uint64_t addCarry(uint64_t carry, uint64_t x, uint64_t y, uint64_t* out) {
#if defined(__x86_64__)
    unsigned long long sum;
    carry = _addcarry_u64(static_cast<unsigned char>(carry), x, y, &sum);
    *out = sum;
    return carry;
#else
    uint64_t sum;
    uint64_t c1 = __builtin_add_overflow(x, y, &sum);
    uint64_t c2 = __builtin_add_overflow(sum, carry, out);
    return c1 | c2;
#endif
}

// *out = x - y - borrow; returns the new borrow (0 or 1).
inline uint64_t subBorrow(uint64_t borrow, uint64_t x, uint64_t y, uint64_t* out) {
#if defined(__x86_64__)
    unsigned long long diff;
    borrow = _subborrow_u64(static_cast<unsigned char>(borrow), x, y, &diff);
    *out = diff;
    return borrow;
#else
    uint64_t diff;
    uint64_t b1 = __builtin_sub_overflow(x, y, &diff);
    uint64_t b2 = __builtin_sub_overflow(diff, borrow, out);
    return b1 | b2;
#endif
}
}  // namespace

extern "C" int64_t _1_addn(uint64_t* a, uint64_t k, uint64_t x) {
    PRF_ENTER(_1_addn);
    uint64_t i = k - 1;
    a[i] += x;
    if (a[i] >= x) return 0;
    while (i > 0) {
        if (++a[--i] != 0) return 0;
    }
    return 1;
}

extern "C" int64_t _1_subn(uint64_t* a, uint64_t k, uint64_t x) {
    PRF_ENTER(_1_subn);
    uint64_t i = k - 1;
    uint64_t old = a[i];
    a[i] = old - x;
    if (old >= x) return 0;
    while (i > 0) {
        if (a[--i]-- != 0) return 0;
    }
    return -1;
}

// B must not overlap A except as the same words at the same place (a + na - nb
// == b), where each word of B is read before it is written.
extern "C" int64_t _1_add(uint64_t* a, uint64_t na, const uint64_t* b, uint64_t nb) {
    PRF_ENTER(_1_add);
    uint64_t* t = a + (na - nb);
    uint64_t carry = 0;
    for (uint64_t i = nb; i-- > 0;) carry = addCarry(carry, t[i], b[i], &t[i]);
    for (uint64_t i = na - nb; carry != 0 && i-- > 0;) carry = ++a[i] == 0;
    return static_cast<int64_t>(carry);
}

extern "C" int64_t _1_sub(uint64_t* a, uint64_t na, const uint64_t* b, uint64_t nb) {
    PRF_ENTER(_1_sub);
    uint64_t* t = a + (na - nb);
    uint64_t borrow = 0;
    for (uint64_t i = nb; i-- > 0;) borrow = subBorrow(borrow, t[i], b[i], &t[i]);
    for (uint64_t i = na - nb; borrow != 0 && i-- > 0;) borrow = a[i]-- == 0;
    return -static_cast<int64_t>(borrow);
}

// Complement every word, then add 1 at the least significant end: the carry
// runs exactly through the words that were zero.
extern "C" int64_t _1_neg(uint64_t* a, uint64_t n) {
    PRF_ENTER(_1_neg);
    uint64_t carry = 1;
    for (uint64_t i = n; i-- > 0;) {
        a[i] = ~a[i] + carry;
        carry &= a[i] == 0;
    }
    return static_cast<int64_t>(carry);
}
