// Whole-array steps built on the kernels (internal, C++ only), shared by the
// multiplication, division and conversion methods. Arrays are most
// significant word first; "aligned" means aligned at the least significant
// words, as _1_add aligns.
#pragma once

#include <cstdint>
#include <cstring>

#include "numlib/m1_wordarrays/kernels.h"

namespace m1 {

inline void copy(uint64_t* dst, const uint64_t* src, uint64_t n) {
    if (n != 0) std::memmove(dst, src, n * sizeof(uint64_t));
}

inline void zero(uint64_t* p, uint64_t n) {
    if (n != 0) std::memset(p, 0, n * sizeof(uint64_t));
}

// -1, 0 or 1 as A is below, equal to or above B (n words each).
inline int compare(const uint64_t* a, const uint64_t* b, uint64_t n) {
    for (uint64_t i = 0; i < n; ++i) {
        if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
    }
    return 0;
}

// Leading zero words of a[0..n-1] (n when all are zero).
inline uint64_t leadingZeros(const uint64_t* a, uint64_t n) {
    uint64_t i = 0;
    while (i < n && a[i] == 0) ++i;
    return i;
}

// R += X aligned, xn <= rn; the carry runs to r[0] and its overflow is
// returned. x may be r + (rn - xn).
inline uint64_t addInto(uint64_t* r, uint64_t rn, const uint64_t* x, uint64_t xn) {
    uint64_t* low = r + (rn - xn);
    return addWord(r, rn - xn, addN(low, low, x, xn));
}

// R -= X aligned, xn <= rn; returns the borrow out of r[0].
inline uint64_t subFrom(uint64_t* r, uint64_t rn, const uint64_t* x, uint64_t xn) {
    uint64_t* low = r + (rn - xn);
    return subWord(r, rn - xn, subN(low, low, x, xn));
}

// R += X * 2^(64 w): X added at w words above R's last word, into the rn - w
// words of R above them. Leading words of X beyond those must be zero (the
// sum is known to fit), and are skipped. Returns the carry out of r[0].
inline uint64_t addShifted(uint64_t* r, uint64_t rn, const uint64_t* x, uint64_t xn, uint64_t w) {
    const uint64_t room = rn - w;
    if (xn > room) {
        x += xn - room;
        xn = room;
    }
    return addInto(r, room, x, xn);
}

// d = |X - Y| over xn words, X of xn and Y of yn <= xn words (aligned);
// returns true when X < Y. d may be x.
inline bool absDiff(uint64_t* d, const uint64_t* x, uint64_t xn, const uint64_t* y, uint64_t yn) {
    const uint64_t head = xn - yn;
    if (leadingZeros(x, head) < head || compare(x + head, y, yn) >= 0) {
        copy(d, x, head);
        subWord(d, head, subN(d + head, x + head, y, yn));
        return false;
    }
    zero(d, head);
    subN(d + head, y, x + head, yn);
    return true;
}

// r = A shifted left by k bits (1 to 63) over n words; returns the bits that
// left a[0]. r may be a.
uint64_t shiftLeft(uint64_t* r, const uint64_t* a, uint64_t n, unsigned k);
// r = A shifted right by k bits (1 to 63); returns the bits that left the
// last word, in the top of the word. r may be a.
uint64_t shiftRight(uint64_t* r, const uint64_t* a, uint64_t n, unsigned k);
// r = A / d for an odd d that divides A (n words). r may be a.
void divExact(uint64_t* r, const uint64_t* a, uint64_t n, uint64_t d);

// R += X * c and R -= X * c for one word c, X aligned (xn <= rn); the
// carry (borrow) runs to r[0] and its overflow is returned.
inline uint64_t addMulInto(uint64_t* r, uint64_t rn, const uint64_t* x, uint64_t xn, uint64_t c) {
    return addWord(r, rn - xn, addMul1(r + (rn - xn), x, xn, c));
}
inline uint64_t subMulFrom(uint64_t* r, uint64_t rn, const uint64_t* x, uint64_t xn, uint64_t c) {
    return subWord(r, rn - xn, subMul1(r + (rn - xn), x, xn, c));
}

}  // namespace m1
