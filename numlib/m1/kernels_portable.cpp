// The portable kernel loops: one word at a time with a 128-bit product and a
// running carry word (a word times a word plus two words never exceeds 128
// bits). Used where the assembly kernels cannot run, and by the tests as the
// reference.
#include "numlib/m1/kernels.h"

namespace m1::portable {
namespace {
using u128 = unsigned __int128;
}

uint64_t addN(uint64_t* r, const uint64_t* a, const uint64_t* b, uint64_t n) {
    uint64_t carry = 0;
    for (uint64_t i = n; i-- > 0;) {
        uint64_t s;
        const uint64_t c1 = __builtin_add_overflow(a[i], b[i], &s);
        const uint64_t c2 = __builtin_add_overflow(s, carry, &r[i]);
        carry = c1 | c2;
    }
    return carry;
}

uint64_t subN(uint64_t* r, const uint64_t* a, const uint64_t* b, uint64_t n) {
    uint64_t borrow = 0;
    for (uint64_t i = n; i-- > 0;) {
        uint64_t d;
        const uint64_t b1 = __builtin_sub_overflow(a[i], b[i], &d);
        const uint64_t b2 = __builtin_sub_overflow(d, borrow, &r[i]);
        borrow = b1 | b2;
    }
    return borrow;
}

// Each a[i] is read before r[i] is written, so r may be a or a + 1.
uint64_t mul1(uint64_t* r, const uint64_t* a, uint64_t n, uint64_t m) {
    uint64_t carry = 0;
    for (uint64_t i = n; i-- > 0;) {
        const u128 p = static_cast<u128>(a[i]) * m + carry;
        r[i] = static_cast<uint64_t>(p);
        carry = static_cast<uint64_t>(p >> 64);
    }
    return carry;
}

uint64_t addMul1(uint64_t* r, const uint64_t* a, uint64_t n, uint64_t m) {
    uint64_t carry = 0;
    for (uint64_t i = n; i-- > 0;) {
        const u128 p = static_cast<u128>(a[i]) * m + r[i] + carry;
        r[i] = static_cast<uint64_t>(p);
        carry = static_cast<uint64_t>(p >> 64);
    }
    return carry;
}

uint64_t subMul1(uint64_t* r, const uint64_t* a, uint64_t n, uint64_t m) {
    uint64_t carry = 0;  // high half of the running product plus borrows
    for (uint64_t i = n; i-- > 0;) {
        const u128 p = static_cast<u128>(a[i]) * m + carry;
        const uint64_t lo = static_cast<uint64_t>(p), x = r[i];
        carry = static_cast<uint64_t>(p >> 64) + (x < lo);
        r[i] = x - lo;
    }
    return carry;
}

}  // namespace m1::portable
