// The polynomials of the self-initialising quadratic sieve: a is a product
// of s factor base primes q_l near sqrt(2kN)/M, b runs through the 2^(s-1)
// sums of +-B_l (B_l = 0 mod q_j for j != l, B_l^2 = kN mod q_l) in Gray
// code order, so that each next b changes one sign and every sieve root moves
// by one precomputed step 2 B_l / a mod p.
#include <cmath>

#include "primequery/factoring/siqs_work.h"

namespace factoring::siqs {
namespace {

inline constexpr int kTriesPerA = 64;  // random draws before giving up on a new a

uint64_t nextRandom(uint64_t& state) {
    state ^= state >> 12;
    state ^= state << 25;
    state ^= state >> 27;
    return state * 0x2545F4914F6CDD1DULL;
}

bool inA(const Polynomial& P, int count, uint32_t j) {
    for (int l = 0; l < count; ++l)
        if (P.aIndex[l] == j) return true;
    return false;
}

// Whether the factor base prime j may be a prime of a: odd and not a
// divisor of the multiplier (its root would be 0).
bool usable(const FactorBase& fb, uint32_t j) { return j > 0 && fb.root[j] != 0; }

// The usable factor base index whose prime is nearest to target, not yet in
// a; kNone when there is none.
uint32_t nearestPrime(const FactorBase& fb, const Polynomial& P, int chosen, double target) {
    uint32_t lo = 1, hi = fb.count;  // first prime >= target by binary search
    while (lo < hi) {
        uint32_t mid = (lo + hi) / 2;
        if (fb.prime[mid] < target) lo = mid + 1;
        else hi = mid;
    }
    uint32_t best = kNone;
    double bestDist = 1e300;
    for (uint32_t j = lo > 4 ? lo - 4 : 1; j < lo + 4 && j < fb.count; ++j) {
        if (!usable(fb, j) || inA(P, chosen, j)) continue;
        double dist = std::fabs(std::log(fb.prime[j] / target));
        if (dist < bestDist) {
            bestDist = dist;
            best = j;
        }
    }
    return best;
}

// Draws the primes of a new a; false when the draw repeats an earlier a.
bool drawA(Work& w, double targetA) {
    const FactorBase& fb = w.fb;
    Polynomial& P = w.poly;
    const uint32_t span = P.windowHi - P.windowLo;
    double rest = targetA;
    uint64_t a = 1;
    for (int l = 0; l < P.s - 1; ++l) {
        uint32_t j;
        do j = P.windowLo + static_cast<uint32_t>(nextRandom(P.rng) % span);
        while (!usable(fb, j) || inA(P, l, j));
        P.aIndex[l] = j;
        a *= fb.prime[j];
        rest /= fb.prime[j];
    }
    uint32_t last = nearestPrime(fb, P, P.s - 1, rest);
    if (last == kNone) return false;
    P.aIndex[P.s - 1] = last;
    a *= fb.prime[last];
    for (uint32_t u = 0; u < P.usedCount; ++u)
        if (P.usedA[u] == a) return false;
    if (P.usedCount < kMaxUsedA) P.usedA[P.usedCount++] = a;
    P.a = a;
    return true;
}

// floor(kN / a) and kN mod a.
void divideKn(const FactorBase& fb, Polynomial& P) {
    uint64_t r = fb.kn.w2 % P.a;
    uint64_t q1 = wordmath::div2by1(r, wordmath::hi64(fb.kn.w), P.a, &r);
    uint64_t q0 = wordmath::div2by1(r, wordmath::lo64(fb.kn.w), P.a, &r);
    P.knDivA = wordmath::toU128(q0, q1);
    P.knModA = r;
}

void computeC(Polynomial& P) {
    P.c = (P.b * P.b - static_cast<i128>(P.knModA)) / static_cast<i128>(P.a) - static_cast<i128>(P.knDivA);
}

// B_l = (a / q_l) * (t_l (a / q_l)^-1 mod q_l), the smaller of the two roots.
void computeB(const FactorBase& fb, Polynomial& P) {
    P.b = 0;
    for (int l = 0; l < P.s; ++l) {
        uint32_t q = fb.prime[P.aIndex[l]];
        uint64_t aq = P.a / q;
        uint32_t gamma = mulMod(fb.root[P.aIndex[l]], inverseMod(static_cast<uint32_t>(aq % q), q), q);
        if (gamma > q / 2) gamma = q - gamma;
        P.B[l] = static_cast<i128>(aq) * gamma;
        P.sign[l] = 1;
        P.b += P.B[l];
    }
}

// The sieve roots of every prime not in a and their Gray-code steps; a and
// the B_l (below 2^63) are reduced mod p with the prime's reciprocal.
void computeRoots(const FactorBase& fb, Polynomial& P) {
    const int s = P.s;
    for (uint32_t j = 1; j < fb.count; ++j) {
        if (inA(P, s, j)) {
            P.root1[j] = P.root2[j] = kNoRoot;
            for (int l = 0; l < s; ++l) P.delta[l][j] = 0;
            continue;
        }
        const uint32_t p = fb.prime[j];
        const uint64_t magic = fb.reciprocal[j];
        const uint32_t ainv = inverseMod(reduce(P.a, p, magic), p);
        uint32_t bm = 0;
        for (int l = 0; l < s; ++l) {
            const uint32_t bl = reduce(static_cast<uint64_t>(P.B[l]), p, magic);
            bm = bm + bl >= p ? bm + bl - p : bm + bl;
            P.delta[l][j] = static_cast<uint16_t>(reduce(uint64_t{2} * bl * ainv, p, magic));
        }
        const uint32_t t = fb.root[j], m = reduce(P.half, p, magic);
        P.root1[j] = static_cast<uint16_t>(reduce(uint64_t{ainv} * (t + p - bm) + m, p, magic));
        P.root2[j] = static_cast<uint16_t>(reduce(uint64_t{ainv} * (2 * p - t - bm) + m, p, magic));
    }
}

}  // namespace

void setupPolynomials(Work& w) {
    const FactorBase& fb = w.fb;
    Polynomial& P = w.poly;
    P.interval = w.params.interval;
    P.half = P.interval / 2;
    P.usedCount = 0;
    P.rng = 0x9E3779B97F4A7C15ULL;
    P.bIndex = P.bCount = 0;
    const double log2A = 0.5 * (1 + fb.log2kn) - std::log2(static_cast<double>(P.half));
    // s primes no larger than the factor base's middle one, at least two.
    const double mid = std::log2(static_cast<double>(fb.prime[fb.count / 2]));
    int s = static_cast<int>(std::ceil(log2A / mid));
    s = s < 2 ? 2 : s > kMaxAPrimes ? kMaxAPrimes : s;
    P.s = s;
    const double q = std::exp2(log2A / s);
    uint32_t lo = 1, hi = fb.count;
    while (lo < fb.count && fb.prime[lo] < q / 2) ++lo;
    while (hi > lo && fb.prime[hi - 1] > q * 2) --hi;
    // Enough primes to choose from for many distinct a's.
    while (hi - lo < static_cast<uint32_t>(s + 12) && (lo > 1 || hi < fb.count)) {
        if (lo > 1) --lo;
        if (hi < fb.count) ++hi;
    }
    P.windowLo = lo;
    P.windowHi = hi;
}

bool firstPolynomial(Work& w) {
    Polynomial& P = w.poly;
    const double targetA = std::exp2(0.5 * (1 + w.fb.log2kn)) / P.half;
    bool found = false;
    for (int t = 0; t < kTriesPerA && !found; ++t) found = drawA(w, targetA);
    if (!found) return false;
    divideKn(w.fb, P);
    computeB(w.fb, P);
    computeC(P);
    computeRoots(w.fb, P);
    P.bIndex = 0;
    P.bCount = 1u << (P.s - 1);
    return true;
}

bool nextPolynomial(Work& w) {
    const FactorBase& fb = w.fb;
    Polynomial& P = w.poly;
    if (P.bIndex + 1 >= P.bCount) return false;
    ++P.bIndex;
    const int v = wordmath::ctz(static_cast<uint64_t>(P.bIndex)) + 1;
    P.sign[v] = -P.sign[v];
    P.b += 2 * P.sign[v] * P.B[v];
    computeC(P);
    // The roots are (±t - b) / a: b grew by 2 B_v (or fell), so they fall
    // by delta (or grow).
    const uint16_t* d = P.delta[v];
    if (P.sign[v] > 0) {
        for (uint32_t j = 1; j < fb.count; ++j) {
            const int32_t p = fb.prime16[j];
            const int32_t r1 = P.root1[j] - d[j], r2 = P.root2[j] - d[j];
            P.root1[j] = static_cast<uint16_t>(r1 < 0 ? r1 + p : r1);
            P.root2[j] = static_cast<uint16_t>(r2 < 0 ? r2 + p : r2);
        }
    } else {
        for (uint32_t j = 1; j < fb.count; ++j) {
            const int32_t p = fb.prime16[j];
            const int32_t r1 = P.root1[j] + d[j], r2 = P.root2[j] + d[j];
            P.root1[j] = static_cast<uint16_t>(r1 >= p ? r1 - p : r1);
            P.root2[j] = static_cast<uint16_t>(r2 >= p ? r2 - p : r2);
        }
    }
    for (int l = 0; l < P.s; ++l) P.root1[P.aIndex[l]] = P.root2[P.aIndex[l]] = kNoRoot;
    return true;
}

}  // namespace factoring::siqs
