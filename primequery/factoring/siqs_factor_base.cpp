// The multiplier k and the factor base of the quadratic sieve: 2 and the odd
// primes p for which kN is a square mod p (or p divides k), each with a
// square root of kN mod p, its log and its inverse modulo 2^128.
#include <cmath>

#include "numlib/m0_utilities/probable_prime.h"
#include "primequery/factoring/siqs_work.h"

namespace factoring::siqs {
namespace {

inline constexpr uint32_t kPrimeLimit = 32768;   // enough primes for kMaxFb, below 2^15
inline constexpr uint32_t kSmallPrimes = 3511;   // odd primes below kPrimeLimit
inline constexpr uint32_t kScorePrimes = 80;     // odd primes the multiplier score looks at

// The odd primes below kPrimeLimit, made once.
const uint32_t* oddPrimes() {
    static uint32_t primes[kSmallPrimes];
    static bool made = false;
    if (!made) {
        static uint8_t composite[kPrimeLimit];
        uint32_t count = 0;
        for (uint32_t i = 3; i < kPrimeLimit; i += 2) {
            if (composite[i]) continue;
            primes[count++] = i;
            for (uint32_t j = i * i; j < kPrimeLimit; j += 2 * i) composite[j] = 1;
        }
        made = true;
    }
    return primes;
}

uint32_t powMod(uint32_t b, uint32_t e, uint32_t p) {
    uint32_t r = 1;
    while (e) {
        if (e & 1) r = mulMod(r, b, p);
        b = mulMod(b, b, p);
        e >>= 1;
    }
    return r;
}

bool isSquareMod(uint32_t x, uint32_t p) { return wordmath::jacobi<uint32_t>(x, p) == 1; }

// A square root of the square x mod the odd prime p (Tonelli and Shanks).
uint32_t sqrtMod(uint32_t x, uint32_t p) {
    if (p % 4 == 3) return powMod(x, (p + 1) / 4, p);
    uint32_t q = p - 1;
    int s = 0;
    while (q % 2 == 0) {
        q /= 2;
        ++s;
    }
    uint32_t z = 2;
    while (isSquareMod(z, p)) ++z;
    uint32_t c = powMod(z, q, p), r = powMod(x, (q + 1) / 2, p), t = powMod(x, q, p);
    while (t != 1) {
        int i = 0;
        for (uint32_t u = t; u != 1; u = mulMod(u, u, p)) ++i;
        uint32_t bb = c;
        for (int j = 0; j < s - i - 1; ++j) bb = mulMod(bb, bb, p);
        r = mulMod(r, bb, p);
        c = mulMod(bb, bb, p);
        t = mulMod(t, c, p);
        s = i;
    }
    return r;
}

uint32_t modSmall(u128 n, uint32_t p) { return static_cast<uint32_t>(wordmath::mod64(n, p)); }

inline constexpr uint8_t kMultipliers[] = {1,  3,  5,  7,  11, 13, 15, 17, 19, 21, 23, 29, 31, 33,
                                           35, 37, 39, 41, 43, 47, 51, 53, 55, 57, 59, 61, 65, 67,
                                           69, 71, 73, 77, 79, 83, 85, 87, 89, 91, 93, 95, 97};
inline constexpr uint32_t kMultiplierCount = sizeof kMultipliers;

// What the multiplier score needs of the multipliers and the score primes:
// the Jacobi symbols (k / p), the weights log p / p (p divides k) and
// 2 log p / (p - 1) (kN a square mod p), and half log k. Made once.
struct ScoreTables {
    int8_t symbol[kMultiplierCount][kScorePrimes];
    double divides[kScorePrimes], square[kScorePrimes], halfLogK[kMultiplierCount];
};

const ScoreTables& scoreTables() {
    static ScoreTables t;
    static bool made = false;
    if (!made) {
        const uint32_t* primes = oddPrimes();
        for (uint32_t j = 0; j < kScorePrimes; ++j) {
            const double lp = std::log(static_cast<double>(primes[j]));
            t.divides[j] = lp / primes[j];
            t.square[j] = 2 * lp / (primes[j] - 1);
        }
        for (uint32_t m = 0; m < kMultiplierCount; ++m) {
            t.halfLogK[m] = 0.5 * std::log(static_cast<double>(kMultipliers[m]));
            for (uint32_t j = 0; j < kScorePrimes; ++j)
                t.symbol[m][j] = static_cast<int8_t>(wordmath::jacobi<uint32_t>(kMultipliers[m], primes[j]));
        }
        made = true;
    }
    return t;
}

// The multiplier prime to n with the best Knuth-Schroeppel score: the
// expected contribution of the small primes to the logs of Q(x) for kN, less
// the cost of the larger values (half log k).
uint32_t chooseMultiplier(u128 n) {
    const uint32_t* primes = oddPrimes();
    const ScoreTables& t = scoreTables();
    int8_t nSymbol[kScorePrimes];
    for (uint32_t j = 0; j < kScorePrimes; ++j)
        nSymbol[j] = static_cast<int8_t>(wordmath::jacobi<uint32_t>(modSmall(n, primes[j]), primes[j]));
    uint32_t best = 1;
    double bestScore = -1e300;
    for (uint32_t m = 0; m < kMultiplierCount; ++m) {
        const uint32_t k = kMultipliers[m];
        if (wordmath::gcd128(n, k) != 1) continue;
        const uint32_t mod8 = static_cast<uint32_t>(wordmath::lo64(n) % 8) * k % 8;
        double score = (mod8 == 1 ? 2.0 : mod8 == 5 ? 1.0 : 0.5) * 0.6931471805599453 - t.halfLogK[m];
        for (uint32_t j = 0; j < kScorePrimes; ++j) {
            if (t.symbol[m][j] == 0) score += t.divides[j];
            else if (t.symbol[m][j] * nSymbol[j] == 1) score += t.square[j];
        }
        if (score > bestScore) {
            bestScore = score;
            best = k;
        }
    }
    return best;
}

Wide timesSmall(u128 n, uint64_t k) {
    u128 t0 = static_cast<u128>(wordmath::lo64(n)) * k;
    u128 t1 = static_cast<u128>(wordmath::hi64(n)) * k + wordmath::hi64(t0);
    return Wide{(t1 << 64) | wordmath::lo64(t0), wordmath::hi64(t1)};
}

u128 inverse128(uint32_t p) {
    u128 inv = p;  // correct to 3 bits for odd p
    for (int bits = 3; bits < 128; bits *= 2) inv *= 2 - p * inv;
    return inv;
}

void addPrime(FactorBase& fb, uint32_t p, uint32_t root) {
    uint32_t j = fb.count++;
    fb.prime[j] = p;
    fb.root[j] = root;
    fb.logp[j] = static_cast<uint8_t>(std::lround(std::log2(static_cast<double>(p))));
    fb.inverse[j] = inverse128(p);
    fb.prime16[j] = static_cast<uint16_t>(p);
    fb.reciprocal[j] = ~uint64_t{0} / p;
    fb.inverse16[j] = static_cast<uint16_t>(fb.inverse[j]);
    fb.limit16[j] = static_cast<uint16_t>(0xFFFFu / p);
    fb.limit[j] = ~u128{0} / p;
}

}  // namespace

uint32_t inverseMod(uint32_t a, uint32_t p) {
    int32_t t = 0, newT = 1;
    uint32_t r = p, newR = a % p;
    while (newR != 0) {
        const uint32_t q = r / newR;
        const int32_t tmp = t - static_cast<int32_t>(q) * newT;
        t = newT;
        newT = tmp;
        const uint32_t rest = r - q * newR;
        r = newR;
        newR = rest;
    }
    return static_cast<uint32_t>(t < 0 ? t + static_cast<int32_t>(p) : t);
}

u128 buildFactorBase(Work& w) {
    FactorBase& fb = w.fb;
    const u128 n = w.n;
    const uint32_t k = chooseMultiplier(n);
    fb.multiplier = k;
    fb.kn = timesSmall(n, k);
    fb.log2kn = std::log2(static_cast<double>(k)) + std::log2(static_cast<double>(n));
    fb.count = 0;
    fb.firstSieved = 0;
    addPrime(fb, 2, 1);
    const uint32_t* primes = oddPrimes();
    const uint32_t want = w.params.fbSize < kMaxFb ? w.params.fbSize : kMaxFb;
    for (uint32_t j = 0; j < kSmallPrimes && fb.count < want; ++j) {
        uint32_t p = primes[j];
        uint32_t nm = modSmall(n, p);
        if (nm == 0) return n == p ? 0 : p;
        if (k % p == 0) {
            addPrime(fb, p, 0);
        } else {
            uint32_t x = mulMod(nm, k % p, p);
            if (isSquareMod(x, p)) addPrime(fb, p, sqrtMod(x, p));
        }
        if (p < w.params.skipBelow) fb.firstSieved = fb.count;
    }
    return 1;
}

}  // namespace factoring::siqs
