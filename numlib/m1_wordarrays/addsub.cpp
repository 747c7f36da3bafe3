// Addition, subtraction and negation of word arrays in place. Carries and
// borrows run toward word 0 and stop there: what leaves word 0 is returned.
//
// _1_add and _1_sub use one running carry instead of a single-word addition
// per word of B; their results equal those of the word-by-word form, since
// at most one carry (borrow) can leave the front of A in either.
#include "q64/m1_wordarrays.h"

#include "numlib/m1_wordarrays/kernels.h"
#include "platform/precondition.h"
#include "profiler/hook.h"

namespace {
// Long arrays go to the kernels from functions of their own, entered by a
// jump, so that the short loops inline need no registers saved for a call.
__attribute__((noinline)) int64_t addLong(uint64_t* a, uint64_t na, const uint64_t* b, uint64_t nb) {
    uint64_t* t = a + (na - nb);
    return static_cast<int64_t>(m1::addWord(a, na - nb, m1::addN(t, t, b, nb)));
}

__attribute__((noinline)) int64_t subLong(uint64_t* a, uint64_t na, const uint64_t* b, uint64_t nb) {
    uint64_t* t = a + (na - nb);
    return -static_cast<int64_t>(m1::subWord(a, na - nb, m1::subN(t, t, b, nb)));
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
    Q64_ASSERT(b == a + (na - nb) || platform::disjointWords(a, na, b, nb));
    if (nb >= tuning::kKernelWords) return addLong(a, na, b, nb);
    uint64_t* t = a + (na - nb);
    return static_cast<int64_t>(m1::addWord(a, na - nb, m1::portable::addN(t, t, b, nb)));
}

extern "C" int64_t _1_sub(uint64_t* a, uint64_t na, const uint64_t* b, uint64_t nb) {
    PRF_ENTER(_1_sub);
    Q64_ASSERT(b == a + (na - nb) || platform::disjointWords(a, na, b, nb));
    if (nb >= tuning::kKernelWords) return subLong(a, na, b, nb);
    uint64_t* t = a + (na - nb);
    return -static_cast<int64_t>(m1::subWord(a, na - nb, m1::portable::subN(t, t, b, nb)));
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
