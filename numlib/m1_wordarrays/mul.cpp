// Multiplication of word arrays in place.
//
// _1_mul keeps the multiplicand R in r and writes the product over it. Small
// products run in place, one row per word of R from its least significant
// word (each word of R is read before a row reaches it). Larger ones copy R
// into the working stack and use the method of mul_methods.h for their size
// (products of pieces as large as fit when its work memory does not); a
// square (A equal to R word for word) needs no copy, since A holds the same
// value. When the working stack cannot take even the copy, the product is
// formed in place after all. Every method gives the same words.
#include "q64/m0_utilities.h"
#include "numlib/m1_wordarrays/mul_methods.h"
#include "numlib/m1_wordarrays/wordops.h"
#include "q64/m1_wordarrays.h"
#include "q64/m2_scratch.h"
#include "numlib/tuning.h"
#include "platform/precondition.h"
#include "profiler/hook.h"

namespace {

// The schoolbook in place: R * A with the rows running over A. Short rows
// take the inline loops throughout.
template <bool kShort>
[[gnu::always_inline]] inline void rowsInPlace(uint64_t* r, uint64_t nr, const uint64_t* a, uint64_t na) {
    uint64_t i = nr - 1;
    r[i] = kShort ? m1::portable::mul1(r + i + 1, a, na, r[i]) : m1::mul1(r + i + 1, a, na, r[i]);
    while (i-- > 0) {
        const uint64_t w = r[i];
        if (w == 0) continue;  // r[i] = 0 is its own carry word
        r[i] = kShort ? m1::portable::addMul1(r + i + 1, a, na, w) : m1::addMul1(r + i + 1, a, na, w);
    }
}

// R * A through a copy of R in the working stack; false (nothing changed)
// when the stack cannot take the copy.
bool mulFromCopy(uint64_t* r, uint64_t nr, const uint64_t* a, uint64_t na) {
    uint64_t* copy = _2_alocs(nr);
    if (copy == nullptr) return false;
    m1::copy(copy, r, nr);
    m1::mulWithStack(r, copy, nr, a, na);
    _2_frees();
    return true;
}

// Everything but a few short rows, in a function of its own, entered by a
// jump, so that those rows inline need no registers saved for calls.
__attribute__((noinline)) uint64_t mulLong(uint64_t* r, uint64_t nr, const uint64_t* a, uint64_t na) {
    if (na == 1) {
        r[0] = m1::mul1(r + 1, r, nr, a[0]);
    } else if (nr == 1) {
        r[0] = m1::mul1(r + 1, a, na, r[0]);
    } else if (nr == na && nr >= tuning::kSqrBasecase && m1::compare(r, a, nr) == 0) {
        m1::sqrWithStack(r, a, nr);
    } else if ((na < tuning::kMulKaratsuba && (nr <= na || nr < tuning::kCopyRows)) || !mulFromCopy(r, nr, a, na)) {
        if (na < tuning::kKernelWords) {
            rowsInPlace<true>(r, nr, a, na);
        } else {
            rowsInPlace<false>(r, nr, a, na);
        }
    }
    return nr + na;
}

// r[0..n] += A * m, the carry beyond r[0] dropped.
__attribute__((noinline)) uint64_t addRowLong(uint64_t* r, const uint64_t* a, uint64_t n, uint64_t m) {
    r[0] += m1::addMul1(r + 1, a, n, m);
    return n + 1;
}

// a[0..n] = A * m.
__attribute__((noinline)) uint64_t scaleLong(uint64_t* a, uint64_t n, uint64_t m) {
    a[0] = m1::mul1(a + 1, a, n, m);
    return n + 1;
}

inline uint64_t scale(uint64_t* a, uint64_t n, uint64_t m) {
    if (n >= tuning::kKernelWords) return scaleLong(a, n, m);
    a[0] = m1::portable::mul1(a + 1, a, n, m);
    return n + 1;
}

}  // namespace

extern "C" uint64_t _1_mul(uint64_t* r, uint64_t nr, const uint64_t* a, uint64_t na) {
    PRF_ENTER(_1_mul);
    Q64_ASSERT(platform::disjointWords(r, nr + na, a, na));
    if (na >= tuning::kKernelWords || nr >= tuning::kCopyRows) return mulLong(r, nr, a, na);
    rowsInPlace<true>(r, nr, a, na);
    return nr + na;
}

extern "C" uint64_t _1_mul1n(uint64_t* r, const uint64_t* a, uint64_t n, uint64_t m) {
    PRF_ENTER(_1_mul1n);
    Q64_ASSERT(platform::disjointWords(r, n + 1, a, n));
    if (n >= tuning::kKernelWords) return addRowLong(r, a, n, m);
    r[0] += m1::portable::addMul1(r + 1, a, n, m);
    return n + 1;
}

extern "C" uint64_t _1_muln(uint64_t* a, uint64_t n, uint64_t m) {
    PRF_ENTER(_1_muln);
    return scale(a, n, m);
}

extern "C" uint64_t _1_mul10n(uint64_t* a, uint64_t n, uint64_t k) {
    PRF_ENTER(_1_mul10n);
    return scale(a, n, pow10tab[k]);
}
