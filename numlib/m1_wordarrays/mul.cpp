// Schoolbook multiplication of word arrays in place. The products of one
// word by A are accumulated with a running carry word (a word times a word
// plus two words never exceeds 128 bits), which gives the same words as
// adding each half with a single-word addition.
#include "q64/m1_wordarrays.h"

#include "profiler/hook.h"

namespace {
using u128 = unsigned __int128;

// r[0..n] += A * m, A = a[0..n-1]; the carry out of r[0] is dropped.
inline void addMul(uint64_t* r, const uint64_t* a, uint64_t n, uint64_t m) {
    uint64_t carry = 0;
    for (uint64_t j = n; j-- > 0;) {
        u128 p = static_cast<u128>(a[j]) * m + r[j + 1] + carry;
        r[j + 1] = static_cast<uint64_t>(p);
        carry = static_cast<uint64_t>(p >> 64);
    }
    r[0] += carry;
}

// r[0..n] = A * m, A = a[0..n-1]. a may equal r (each a[j] is read before
// r[j] is written).
inline void setMul(uint64_t* r, const uint64_t* a, uint64_t n, uint64_t m) {
    uint64_t carry = 0;
    for (uint64_t j = n; j-- > 0;) {
        u128 p = static_cast<u128>(a[j]) * m + carry;
        r[j + 1] = static_cast<uint64_t>(p);
        carry = static_cast<uint64_t>(p >> 64);
    }
    r[0] = carry;
}

constexpr uint64_t kPow10[20] = {
    1ull, 10ull, 100ull, 1000ull, 10000ull, 100000ull, 1000000ull, 10000000ull,
    100000000ull, 1000000000ull, 10000000000ull, 100000000000ull, 1000000000000ull,
    10000000000000ull, 100000000000000ull, 1000000000000000ull, 10000000000000000ull,
    100000000000000000ull, 1000000000000000000ull, 10000000000000000000ull,
};
static_assert(kPow10[19] / 10 == kPow10[18] && kPow10[19] % 10 == 0);
}  // namespace

// The words of R are consumed from the least significant end, and the
// partial products reach r[i] only after r[i] has been read and cleared.
extern "C" uint64_t _1_mul(uint64_t* r, uint64_t nr, const uint64_t* a, uint64_t na) {
    PRF_ENTER(_1_mul);
    uint64_t i = nr - 1;
    uint64_t w = r[i];
    setMul(r + i, a, na, w);  // the first row lands on cleared words
    while (i-- > 0) {
        w = r[i];
        r[i] = 0;
        if (w != 0) addMul(r + i, a, na, w);
    }
    return nr + na;
}

extern "C" uint64_t _1_mul1n(uint64_t* r, const uint64_t* a, uint64_t n, uint64_t m) {
    PRF_ENTER(_1_mul1n);
    addMul(r, a, n, m);
    return n + 1;
}

extern "C" uint64_t _1_muln(uint64_t* a, uint64_t n, uint64_t m) {
    PRF_ENTER(_1_muln);
    setMul(a, a, n, m);
    return n + 1;
}

// 10^k comes from a table local to this file (the same values as pow10tab).
extern "C" uint64_t _1_mul10n(uint64_t* a, uint64_t n, uint64_t k) {
    PRF_ENTER(_1_mul10n);
    setMul(a, a, n, kPow10[k]);
    return n + 1;
}
