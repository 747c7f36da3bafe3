// Schoolbook products and squares (see mul_methods.h).
#include <utility>

#include "numlib/m1_wordarrays/kernels.h"
#include "numlib/m1_wordarrays/mul_methods.h"

namespace m1 {
namespace {
using u128 = unsigned __int128;
}

// Rows run over the longer operand, one per word of the shorter, from the
// least significant: the first row is written, the others added one word
// further up, each carry word landing on the word in front of its row.
void mulBasecase(uint64_t* r, const uint64_t* a, uint64_t na, const uint64_t* b, uint64_t nb) {
    if (na < nb) {
        std::swap(a, b);
        std::swap(na, nb);
    }
    r[nb - 1] = mul1(r + nb, a, na, b[nb - 1]);
    for (uint64_t j = nb - 1; j-- > 0;) r[j] = addMul1(r + j + 1, a, na, b[j]);
}

// With x_k = a[n-1-k], the cross products x_k x_l (k < l) form row k: the
// words x_{k+1..n-1} = a[0..n-2-k] times x_k at weight 2k + 1, that is at
// r[n-k .. 2n-2k-2] with the carry word at r[n-1-k]. The doubled sum then
// takes each square x_k^2 at weight 2k (r[2n-2-2k], r[2n-1-2k]).
void sqrBasecase(uint64_t* r, const uint64_t* a, uint64_t n) {
    if (n == 1) {
        const u128 sq = static_cast<u128>(a[0]) * a[0];
        r[0] = static_cast<uint64_t>(sq >> 64);
        r[1] = static_cast<uint64_t>(sq);
        return;
    }
    r[2 * n - 1] = 0;
    r[n - 1] = mul1(r + n, a, n - 1, a[n - 1]);
    for (uint64_t k = 1; k + 1 < n; ++k) r[n - 1 - k] = addMul1(r + n - k, a, n - 1 - k, a[n - 1 - k]);
    r[0] = 0;
    uint64_t shiftIn = 0, carry = 0;
    for (uint64_t k = 0; k < n; ++k) {
        const uint64_t x = a[n - 1 - k];
        const u128 sq = static_cast<u128>(x) * x;
        uint64_t* lo = &r[2 * n - 1 - 2 * k];
        uint64_t* hi = lo - 1;
        const uint64_t w0 = *lo, w1 = *hi;
        const uint64_t s0 = (w0 << 1) | shiftIn, s1 = (w1 << 1) | (w0 >> 63);
        shiftIn = w1 >> 63;
        carry = addCarry(carry, s0, static_cast<uint64_t>(sq), lo);
        carry = addCarry(carry, s1, static_cast<uint64_t>(sq >> 64), hi);
    }
}

}  // namespace m1
