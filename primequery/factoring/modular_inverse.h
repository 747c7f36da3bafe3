// The inverse of a residue modulo an odd n (internal, C++ only).
#pragma once

#include "numlib/m0_utilities/u128.h"

namespace factoring {

using wordmath::u128;

// For odd n > 1 and a < n: returns gcd(a, n), and when it is 1 stores a^-1
// mod n in *inverse. Binary extended Euclid: halvings and subtractions only,
// each step keeping x1 a = u and x2 a = v modulo n.
template <class Word>
Word inverseOrGcd(Word a, Word n, Word* inverse) {
    Word u = a, v = n, x1 = 1, x2 = 0;
    if (u == 0) return n;
    auto half = [n](Word x) {  // x / 2 mod n for x < n
        return (x & 1) ? (x >> 1) + (n >> 1) + 1 : x >> 1;
    };
    while (u != 1 && v != 1) {
        while ((u & 1) == 0) {
            u >>= 1;
            x1 = half(x1);
        }
        while ((v & 1) == 0) {
            v >>= 1;
            x2 = half(x2);
        }
        if (u >= v) {
            u -= v;
            x1 = x1 >= x2 ? x1 - x2 : x1 + (n - x2);
            if (u == 0) return v;  // v = gcd(a, n) > 1
        } else {
            v -= u;
            x2 = x2 >= x1 ? x2 - x1 : x2 + (n - x1);
        }
    }
    *inverse = u == 1 ? x1 : x2;
    return 1;
}

}  // namespace factoring
