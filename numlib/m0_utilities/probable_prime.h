// The Baillie–PSW probable-prime test on Montgomery residues, for 64-bit
// and 128-bit moduli (internal, C++ only): a strong test to base 2 and a
// strong Lucas test with Selfridge's parameters (D the first of 5, -7, 9,
// -11, 13, ... with Jacobi symbol (D/n) = -1, P = 1, Q = (1 - D)/4).
//
// No composite below 2^64 passes both (every base-2 strong pseudoprime below
// 2^64 has been checked against the Lucas half); above 2^64 a pass only
// makes n a probable prime. A failed half proves n composite.
//
// The ladders have no branches on the bits of their exponents: a
// mispredicted branch would cost more than the selects.
#pragma once

#include <cstdint>

#include "numlib/m0_utilities/montgomery.h"
#include "numlib/m0_utilities/u128.h"

namespace wordmath {

// The Jacobi symbol (a/m) for odd m, as -1, 0 or 1, by the binary method;
// in 32-bit words where both fit (the quadratic sieve's factor base), a
// division in them being the faster.
template <class Word>
int jacobi(Word a, Word m) {
    int sign = 1;
    a %= m;
    while (a != 0) {
        const int zeros = __builtin_ctzll(a);
        a >>= zeros;
        // (2/m) = -1 exactly when m is 3 or 5 modulo 8.
        if ((zeros & 1) && ((m & 7) == 3 || (m & 7) == 5)) sign = -sign;
        if ((a & 3) == 3 && (m & 3) == 3) sign = -sign;  // reciprocity
        const Word t = a;
        a = m % t;
        m = t;
    }
    return m == 1 ? sign : 0;
}
inline int jacobi64(uint64_t a, uint64_t m) { return jacobi<uint64_t>(a, m); }

// (d/n) for odd n and a small odd d > 0 (reciprocity turns it into a
// symbol modulo d), times (-1/n) when `negative`.
template <class Word>
int jacobiSmall(uint64_t d, bool negative, Word n) {
    const uint64_t low = lo64(static_cast<u128>(n));
    int sign = ((d & 3) == 3 && (low & 3) == 3) ? -1 : 1;
    if (negative && (low & 3) == 3) sign = -sign;
    return sign * jacobi64(mod64(static_cast<u128>(n), d), d);
}

// (a/n) for odd n and a small a > 0.
template <class Word>
int jacobiOfSmall(uint64_t a, Word n) {
    const uint64_t low = lo64(static_cast<u128>(n));
    const int zeros = __builtin_ctzll(a);
    const int twoSign = ((zeros & 1) && ((low & 7) == 3 || (low & 7) == 5)) ? -1 : 1;
    return twoSign * jacobiSmall(a >> zeros, false, n);
}

// Selfridge's D for odd n: the first of 5, -7, 9, -11, ... with (D/n) = -1,
// as |D| and its sign. Returns 0 when n shares a factor with some |D| tried
// (n composite, for n above every |D| tried: the callers keep n > 1000, far
// above the |D| any n needs) and 1 when n is a perfect square (no D exists).
template <class Word>
uint64_t selfridgeD(Word n, bool* negative) {
    for (uint64_t d = 5;; d += 2) {
        *negative = (d & 2) != 0;  // 5, -7, 9, -11, ...
        int j = jacobiSmall(d, *negative, n);
        if (j == -1) return d;
        if (j == 0) return 0;
        if (d == 61) {
            // Past a few D a square is likely: no D would ever be found.
            Word r = static_cast<Word>(isqrt128(static_cast<u128>(n)));
            if (r * r == n) return 1;
        }
    }
}

// The end of a strong test to base a: with x = a^d (Montgomery form) for
// n - 1 = d 2^s, d odd, n passes when x = 1 or x^(2^r) = -1 for some r < s.
template <class Mont, class Word>
bool strongSequence(const Mont& mont, Word x, int s) {
    const Word one = mont.one(), minusOne = mont.modulus() - one;
    if (x == one || x == minusOne) return true;
    for (int i = 1; i < s; ++i) {
        x = mont.mul(x, x);
        if (x == minusOne) return true;
        if (x == one) return false;
    }
    return false;
}

// The strong test to base 2 as a left-to-right power 2^k, k the bits of the
// exponent read so far: a multiplication by 2 is a doubling, folded into the
// squaring's reduction.
template <class Mont, class Word>
struct Base2Power {
    Word x;
    explicit Base2Power(const Mont& mont) : x(mont.one()) {}
    void step(const Mont& mont, Word bit) { x = mont.squareDoubled(x, bit); }
    bool strong(const Mont& mont, int s) const { return strongSequence(mont, x, s); }
};

// The strong Lucas test of P = 1 and Q through the Lucas sequence V'_k of
// P' = 1/Q - 2 and Q' = 1, whose ladder needs no powers of Q:
// V_{2k}(1, Q) = Q^k V'_k, and with n + 1 = d 2^s, d = 2m + 1,
//   U_d = 0       exactly when V'_m = V'_{m+1},
//   V_d = 0       exactly when V'_m = -V'_{m+1},
//   V_{d 2^r} = 0 exactly when V'_{d 2^(r-1)} = 0 (1 <= r < s),
// for n prime to 2QD (Q, 2 and D/Q^2 are units and drop out of each
// condition).
//
// The ladder keeps the last step's square and cross product unordered, with
// the bit that ordered them: the cross product of the next step needs no
// order, and its square takes one select.
template <class Mont, class Word>
struct LucasLadder {
    Word square, cross, bit;  // V'_k, V'_{k+1} are (square, cross) for bit 0, else swapped
    Word p, two;              // P' and 2 in Montgomery form
    LucasLadder(const Mont& mont, Word pPrime)
        : square(mont.add(mont.one(), mont.one())), cross(pPrime), bit(0), p(pPrime), two(square) {}

    void step(const Mont& mont, Word next) {
        // V'_k for next bit 0, V'_{k+1} for 1.
        const Word chosen = selectWord(bit ^ next, square, cross);
        cross = mont.mulSub(square, cross, p);         // V'_{2k+1} = V'_k V'_{k+1} - P'
        square = mont.mulSub(chosen, chosen, two);     // V'_{2j} = V'_j^2 - 2
        bit = next;
    }
    // V_k and V_{k+1} for the bits k read so far.
    Word value() const { return selectWord(bit, square, cross); }
    Word nextValue() const { return selectWord(bit, cross, square); }
    // With k = m: the three conditions above.
    bool strong(const Mont& mont, int s) const {
        const Word v = selectWord(bit, square, cross), v1 = selectWord(bit, cross, square);
        if (v == v1 || mont.add(v, v1) == 0) return true;
        Word x = mont.mulSub(v, v1, p);  // V'_d
        for (int r = 1; r < s; ++r) {
            if (x == 0) return true;
            x = mont.mulSub(x, x, two);
        }
        return false;
    }
};

// q^-1 mod n for a small q >= 1 prime to n: (x n + 1)/q with x n = -1 mod q,
// formed without overflow from n = q nq + nr.
template <class Word>
Word inverseOfSmall(uint64_t q, Word n) {
    uint64_t nr;
    const Word nq = static_cast<Word>(divmod64(static_cast<u128>(n), q, &nr));
    uint64_t t = 1;  // nr^-1 mod q by search: q is a few dozen at most
    while (q > 1 && (nr * t) % q != 1) ++t;
    const uint64_t x = (q - t % q) % q;
    return static_cast<Word>(x) * nq + (x * nr + 1) / q;
}

// The ladder's steps over the bits of k from its top bit (none for k = 0).
template <class Mont, class Word, class Ladder>
void climb(const Mont& mont, Ladder& ladder, Word k) {
    int bit = 8 * static_cast<int>(sizeof(Word)) - 1;
    while (bit >= 0 && ((k >> bit) & 1) == 0) --bit;
    for (; bit >= 0; --bit) ladder.step(mont, (k >> bit) & 1);
}

// The Lucas half's P' = 1/Q - 2 for Selfridge's D of n: false (n composite)
// when there is none, for a square or a factor shared with some |D|.
// (Every prime factor of Q divides some |D| tried before, so gcd(n, 2Q) = 1
// holds whenever a D is found.)
template <class Mont, class Word>
bool lucasParameter(const Mont& mont, Word* pPrime) {
    bool negative;
    const uint64_t d = selfridgeD(mont.modulus(), &negative);
    if (d < 5) return false;
    // Q = (1 - D)/4: -(d - 1)/4 for D = d, (d + 1)/4 for D = -d.
    const Word qInverse = mont.to(inverseOfSmall(negative ? (d + 1) / 4 : (d - 1) / 4, mont.modulus()));
    *pPrime = mont.sub(negative ? qInverse : mont.sub(0, qInverse), mont.add(mont.one(), mont.one()));
    return true;
}

// Baillie–PSW for odd n = mont.modulus() > 1000 prime to 3, n < 2^bits - 1:
// false proves n composite. With n - 1 = d1 2^s1 and n + 1 = (2m + 1) 2^s2,
// the base-2 power runs over the bits of d1, the Lucas ladder over those of
// m. On one word, where the chains of dependent products bound the time,
// both run in one loop and overlap; on two words, where the multiplier's
// throughput does, the base-2 half runs first and settles almost every
// composite alone.
template <class Mont, class Word>
bool bailliePsw(const Mont& mont) {
    const Word n = mont.modulus();
    const int s1 = ctz(static_cast<Word>(n - 1)), s2 = ctz(static_cast<Word>(n + 1));
    const Word d1 = (n - 1) >> s1, m = ((n + 1) >> s2) >> 1;  // two shifts: s2 + 1 may be the width
    Base2Power<Mont, Word> power(mont);
    if constexpr (sizeof(Word) > sizeof(uint64_t)) {
        climb(mont, power, d1);
        if (!power.strong(mont, s1)) return false;
    }
    Word pPrime;
    if (!lucasParameter(mont, &pPrime)) return false;
    LucasLadder<Mont, Word> lucas(mont, pPrime);
    if constexpr (sizeof(Word) > sizeof(uint64_t)) {
        climb(mont, lucas, m);
        return lucas.strong(mont, s2);
    } else {
        const Word top = d1 | m;
        int bit = 63;
        while (((top >> bit) & 1) == 0) --bit;
        for (; bit >= 0; --bit) {
            power.step(mont, (d1 >> bit) & 1);
            lucas.step(mont, (m >> bit) & 1);
        }
        return power.strong(mont, s1) && lucas.strong(mont, s2);
    }
}

}  // namespace wordmath
