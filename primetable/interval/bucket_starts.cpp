#include "primetable/interval/bucket_starts.h"

#include <array>

#include "primetable/interval/prime_bounds.h"
#include "primetable/sieve_start.h"
#include "primetable/sieve_steps.h"
#include "primetable/wheel.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

// The multiple n = q m of q = 210 qd + rq at m = 210 P + rj has n div 210 =
// q P + qd rj + (rq rj) div 210 and n mod 210 = (rq rj) mod 210, so its bit
// is 48 (q P + qd rj) plus the bit of rq rj: no division of n and no
// overflow near 2^64 (n div 210 stays below 2^57 while n may pass 2^64).
// The tables hold 32-bit words, which the vector code gathers.

namespace interval {
namespace {

// For a cofactor residue r of 210: the index j of the first residue at or
// above it, and that residue from bit 8 on.
constexpr std::array<uint32_t, wheel::kModulus> makeCofactorResidues() {
    std::array<uint32_t, wheel::kModulus> table{};
    for (uint64_t r = 0; r < wheel::kModulus; ++r) {
        const uint64_t j = sieve::kResidueAtOrAbove[r];
        table[r] = static_cast<uint32_t>(j | WheelResidues[j] << 8);
    }
    return table;
}
constexpr std::array<uint32_t, wheel::kModulus> kCofactorResidues = makeCofactorResidues();

// 48 times the index of each residue of 210 (others unused).
constexpr std::array<uint32_t, wheel::kModulus> makeKeyRows() {
    std::array<uint32_t, wheel::kModulus> rows{};
    for (uint64_t r = 0; r < wheel::kModulus; ++r) rows[r] = static_cast<uint32_t>(wheel::kSpokes * (WheelIndex[r] >> 32));
    return rows;
}
constexpr std::array<uint32_t, wheel::kModulus> kKeyRows = makeKeyRows();

// The bit of the product of the residues of indices ri and j, counted from 0:
// the part of a multiple's bit that the residues alone decide.
constexpr std::array<uint32_t, wheel::kSpokes * wheel::kSpokes> makeProductBits() {
    std::array<uint32_t, wheel::kSpokes * wheel::kSpokes> bits{};
    for (uint64_t ri = 0; ri < wheel::kSpokes; ++ri)
        for (uint64_t j = 0; j < wheel::kSpokes; ++j)
            bits[wheel::kSpokes * ri + j] =
                static_cast<uint32_t>(sieve::positionFromZero(WheelResidues[ri] * WheelResidues[j]));
    return bits;
}
constexpr std::array<uint32_t, wheel::kSpokes * wheel::kSpokes> kProductBits = makeProductBits();

// The quotients of the block come first, in a loop of their own: a prime's
// work is one long chain of dependent steps, and with the division in it
// the processor could not hold enough primes in flight to overlap them (at
// [10^18, 10^18 + 4 * 10^9] on one thread the starts took 1.08 billion
// cycles against 1.44, medians of seven runs).
void startsPlain(const uint32_t* primes, uint64_t n, const Span& span, uint64_t* bits, uint32_t* qds,
                 uint32_t* keys) {
    const uint64_t lo = span.lo;
    const double nearLo = static_cast<double>(lo);
    uint64_t quotients[kStartBlock];
    for (uint64_t i = 0; i < n; ++i) {
        const uint32_t q = primes[i];
        const uint64_t c = quotientUp(lo, nearLo, q);
        quotients[i] = c < q ? q : c;
    }
    // When most primes have no multiple in a short span, a test of q c
    // against hi passes them over before the rest of the work; otherwise it
    // would be a branch taken as often as not, and mispredicted.
    const bool skipEarly = n != 0 && span.hi - span.lo < 2 * uint64_t{primes[0]};
    for (uint64_t i = 0; i < n; ++i) {
        const uint32_t q = primes[i];
        const uint64_t c = quotients[i];
        uint64_t multiple;
        if (skipEarly && (__builtin_mul_overflow(uint64_t{q}, c, &multiple) || multiple > span.hi)) {
            bits[i] = ~uint64_t{0};
            continue;
        }
        const uint32_t qd = q / wheel::kModulus;
        const uint64_t p = c / wheel::kModulus;
        const uint32_t cofactor = kCofactorResidues[c - p * wheel::kModulus];
        const uint32_t k = kKeyRows[q - qd * wheel::kModulus] + (cofactor & 0xFF);
        bits[i] = wheel::kSpokes * (q * p + uint64_t{qd} * (cofactor >> 8) - span.period) + kProductBits[k];
        qds[i] = qd;
        keys[i] = k;
    }
}

#if defined(__x86_64__)
// Eight primes at a time, each lane as startsPlain. Every quotient lo / q
// here is below 2^50 (the caller sees to it), so the doubles' quotient is
// within one of it and the remainder of its truncation sets it right. The
// double nearest 1/210 lies above it, so the double product c (1/210) is at
// least c div 210 (rounding keeps it at or above that whole number), and
// for c up to 2^50 it is off c / 210 by far less than 1/210, so below
// c div 210 + 1: its truncation is c div 210, and q div 210 likewise.
// (The product below is exact in the 64-bit mantissa of x86's long double.)
static_assert(static_cast<long double>(1.0 / wheel::kModulus) * wheel::kModulus > 1.0L);

// GCC 12 takes the intrinsics' deliberately undefined inputs for
// uninitialized values.
#if !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
__attribute__((target("avx512f,avx512dq"))) void startsVector(const uint32_t* primes, uint64_t n, const Span& span,
                                                               uint64_t* bits, uint32_t* qds, uint32_t* keys) {
    const __m512d nearLo = _mm512_set1_pd(static_cast<double>(span.lo));
    const __m512i lo = _mm512_set1_epi64(static_cast<long long>(span.lo));
    const __m512d inverse = _mm512_set1_pd(1.0 / wheel::kModulus);
    const __m512i modulus = _mm512_set1_epi64(wheel::kModulus);
    const __m512i period = _mm512_set1_epi64(static_cast<long long>(span.period));
    const __m512i one = _mm512_set1_epi64(1);
    const __m512i zero = _mm512_setzero_si512();
    const __m512i lowByte = _mm512_set1_epi64(0xFF);
    for (uint64_t i = 0; i < n; i += 8) {
        const __m512i q = _mm512_cvtepu32_epi64(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(primes + i)));
        const __m512d nearQ = _mm512_cvtepu64_pd(q);
        __m512i c = _mm512_cvttpd_epu64(_mm512_div_pd(nearLo, nearQ));
        const __m512i r = _mm512_sub_epi64(lo, _mm512_mullo_epi64(c, q));  // between -q and 2q
        c = _mm512_mask_add_epi64(c, _mm512_cmpgt_epi64_mask(r, zero), c, one);
        c = _mm512_mask_add_epi64(c, _mm512_cmpgt_epi64_mask(r, q), c, one);
        c = _mm512_max_epu64(c, q);
        const __m512i p = _mm512_cvttpd_epu64(_mm512_mul_pd(_mm512_cvtepu64_pd(c), inverse));
        const __m512i rc = _mm512_sub_epi64(c, _mm512_mullo_epi64(p, modulus));
        const __m512i qd = _mm512_cvttpd_epu64(_mm512_mul_pd(nearQ, inverse));
        const __m512i rq = _mm512_sub_epi64(q, _mm512_mullo_epi64(qd, modulus));
        const __m512i cofactor = _mm512_cvtepu32_epi64(_mm512_i64gather_epi32(rc, kCofactorResidues.data(), 4));
        const __m512i row = _mm512_cvtepu32_epi64(_mm512_i64gather_epi32(rq, kKeyRows.data(), 4));
        const __m512i k = _mm512_add_epi64(row, _mm512_and_si512(cofactor, lowByte));
        const __m512i productBit = _mm512_cvtepu32_epi64(_mm512_i64gather_epi32(k, kProductBits.data(), 4));
        const __m512i x = _mm512_sub_epi64(
            _mm512_add_epi64(_mm512_mullo_epi64(q, p), _mm512_mullo_epi64(qd, _mm512_srli_epi64(cofactor, 8))), period);
        const __m512i x48 = _mm512_add_epi64(_mm512_slli_epi64(x, 5), _mm512_slli_epi64(x, 4));
        _mm512_storeu_si512(bits + i, _mm512_add_epi64(x48, productBit));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(qds + i), _mm512_cvtepi64_epi32(qd));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(keys + i), _mm512_cvtepi64_epi32(k));
    }
}
#if !defined(__clang__)
#pragma GCC diagnostic pop
#endif

// Asked once, at load (before any worker thread runs).
const bool hasVectors = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512dq");
}();
#else
constexpr bool hasVectors = false;
#endif

bool vectorsAllowed = true;

}  // namespace

void testing::allowVectorStarts(bool allowed) { vectorsAllowed = allowed; }

// At [10^18, 10^18 + 4 * 10^9] on one thread, the starts with their pushes
// into the lists took 0.93 billion cycles with the vectors against 1.25
// without (medians of seven runs); at [10^18, 10^18 + 10^7], where few
// primes have a multiple, both about 0.42.
void computeStarts(const uint32_t* primes, uint64_t n, const Span& span, Starts& out) {
    uint64_t done = 0;
#if defined(__x86_64__)
    // The smallest prime decides: lo / q below 2^50 for all.
    if (hasVectors && vectorsAllowed && n != 0 && primes[0] > (span.lo >> 50)) {
        done = n & ~uint64_t{7};
        startsVector(primes, done, span, out.bits, out.primes, out.keys);
    }
#endif
    startsPlain(primes + done, n - done, span, out.bits + done, out.primes + done, out.keys + done);
}

}  // namespace interval
