// Montgomery curves B y^2 = x^3 + A x^2 + x modulo n for the elliptic curve
// method (internal, C++ only): points as (X : Z) in Montgomery residues,
// Suyama's family of curves (whose group orders are divisible by 12), the
// doubling and the differential addition, and the ladder for stage 1.
#pragma once

#include <cstdint>

#include "numlib/m0_utilities/montgomery.h"
#include "primequery/factoring/ecm_multipliers.h"
#include "primequery/factoring/modular_inverse.h"

namespace factoring {

template <class Word>
struct CurvePoint {
    Word x, z;
};

template <class Mont, class Word>
class EcmCurve {
public:
    using Point = CurvePoint<Word>;

    explicit EcmCurve(const Mont& mont) : mont_(mont) {}

    // Suyama's curve of sigma >= 6: u = sigma^2 - 5, v = 4 sigma, the point
    // (u^3 : v^3), (A + 2)/4 = (v - u)^3 (3u + v) / (16 u^3 v). Stores the
    // point with Z = 1 and returns 1; returns gcd(16 u^3 v^4, n) instead
    // when it exceeds 1 (a factor of n, or n itself).
    Word setup(uint64_t sigma, Point* start) {
        const Mont& m = mont_;
        const Word u = m.sub(m.to(static_cast<Word>(sigma) * sigma), m.to(5));
        const Word v = m.to(static_cast<Word>(4 * sigma));
        const Word u3 = m.mul(m.square(u), u), v3 = m.mul(m.square(v), v);
        const Word sixteen = m.to(16);
        const Word den = m.mul(m.mul(m.mul(sixteen, u3), v), v3);  // 16 u^3 v^4
        Word inverse;
        const Word g = inverseOrGcd<Word>(m.from(den), m.modulus(), &inverse);
        if (g != 1) return g;
        const Word inv = m.to(inverse);
        const Word vu = m.sub(v, u);
        const Word vu3 = m.mul(m.square(vu), vu);
        const Word threeUPlusV = m.add(m.add(m.add(u, u), u), v);
        a24_ = m.mul(m.mul(m.mul(vu3, threeUPlusV), v3), inv);
        start->x = m.mul(m.mul(m.mul(u3, sixteen), m.mul(u3, v)), inv);  // u^3 / v^3
        start->z = m.one();
        return 1;
    }

    // 2p: (X+Z)^2 (X-Z)^2 : 4XZ ((X-Z)^2 + a24 4XZ).
    Point dbl(const Point& p) const {
        const Mont& m = mont_;
        const Word s = m.square(m.add(p.x, p.z)), d = m.square(m.sub(p.x, p.z));
        const Word t = m.sub(s, d);
        return Point{m.mul(s, d), m.mul(t, m.add(d, m.mul(a24_, t)))};
    }
    // p + q from their difference: diff.z (U + V)^2 : diff.x (U - V)^2 with
    // U = (Xp - Zp)(Xq + Zq), V = (Xp + Zp)(Xq - Zq).
    Point add(const Point& p, const Point& q, const Point& diff) const {
        const Mont& m = mont_;
        const Word u = m.mul(m.sub(p.x, p.z), m.add(q.x, q.z));
        const Word v = m.mul(m.add(p.x, p.z), m.sub(q.x, q.z));
        return Point{m.mul(diff.z, m.square(m.add(u, v))), m.mul(diff.x, m.square(m.sub(u, v)))};
    }
    // The same for diff.z = 1.
    Point addToNormal(const Point& p, const Point& q, const Point& diff) const {
        const Mont& m = mont_;
        const Word u = m.mul(m.sub(p.x, p.z), m.add(q.x, q.z));
        const Word v = m.mul(m.add(p.x, p.z), m.sub(q.x, q.z));
        return Point{m.square(m.add(u, v)), m.mul(diff.x, m.square(m.sub(u, v)))};
    }

    // k p for the bits of k read by bitAt(i), i from bits - 1 (the top bit, 1)
    // down; p has Z = 1 when `normal`. The ladder keeps (j p, (j + 1) p).
    template <class BitAt>
    Point multiply(const Point& p, int bits, BitAt bitAt, bool normal) const {
        Point r0 = p, r1 = dbl(p);
        for (int i = bits - 2; i >= 0; --i) {
            const Word b = bitAt(i) ? 1 : 0;
            swap(b, r0, r1);
            r1 = normal ? addToNormal(r0, r1, p) : add(r0, r1, p);
            r0 = dbl(r0);
            swap(b, r0, r1);
        }
        return r0;
    }
    Point multiply(const Point& p, uint64_t k) const {
        if (k == 1) return p;
        const int bits = 64 - __builtin_clzll(k);
        return multiply(p, bits, [k](int i) { return (k >> i) & 1; }, p.z == mont_.one());
    }

    const Mont& mont() const { return mont_; }

private:
    static void swap(Word b, Point& p, Point& q) {
        const Word mask = Word{0} - b;
        const Word dx = (p.x ^ q.x) & mask, dz = (p.z ^ q.z) & mask;
        p.x ^= dx;
        q.x ^= dx;
        p.z ^= dz;
        q.z ^= dz;
    }

    const Mont& mont_;
    Word a24_ = 0;  // (A + 2)/4
};

}  // namespace factoring
