// P2(x, a): the numbers <= x with two prime factors above y,
//   P2 = sum over primes y < p <= sqrt(x) of pi(x / p) - pi(p) + 1,
// the pi(x / p) counted in a sieve of [sqrt(x), x / y] (the p descending, so
// the x / p ascend). Pieces of the sieve go to the threads; each counts from
// its own start and the counts before it are added in order at the end.
#include "primequery/counting/counting_plan.h"
#include "primequery/counting/counting_tuning.h"
#include "primequery/counting/parallel_pieces.h"
#include "primequery/counting/wheel30_sieve.h"

#include <cstring>

namespace counting {

namespace {

struct PieceCount {
    Wide sum;        // the counts from the piece's start up to each x / p in it
    uint64_t terms;  // how many p had x / p in the piece
    uint64_t primes; // the primes in the piece
};

}  // namespace

bool secondPartialSieve(CountingPlan& plan, Wide& p2) {
    const uint64_t x = plan.x, y = plan.y;
    if (plan.root <= y) return true;
    const uint64_t firstByte = plan.root / 30;
    const uint64_t lastByte = (plan.z / 30 + 1 + 7) & ~uint64_t{7};
    const uint64_t bytes = lastByte - firstByte;
    const uint64_t segments = (bytes + kPrimeSegmentBytes - 1) / kPrimeSegmentBytes;
    uint64_t pieces = 16 * static_cast<uint64_t>(plan.threads) + 16;
    if (pieces > segments) pieces = segments;
    const uint64_t perPiece = (segments + pieces - 1) / pieces;
    pieces = (segments + perPiece - 1) / perPiece;
    // Sieving primes up to sqrt(x / y) <= y.
    uint64_t sieving = 0;
    const unsigned __int128 reach = static_cast<unsigned __int128>(lastByte) * 30;
    while (sieving < plan.primeCount && static_cast<unsigned __int128>(plan.primes[sieving + 1]) *
                                                plan.primes[sieving + 1] < reach)
        ++sieving;
    PieceCount* counts = plan.memory.take<PieceCount>(pieces);
    uint8_t* buffers = plan.memory.take<uint8_t>(plan.threads * kPrimeSegmentBytes);
    CrossState* states = plan.memory.take<CrossState>(plan.threads * (sieving + 1));
    if (counts == nullptr || buffers == nullptr || states == nullptr) return false;

    const bool whole = forEachPiece(pieces, plan.threads, [&](uint64_t piece, unsigned worker) {
        uint8_t* segment = buffers + worker * kPrimeSegmentBytes;
        const uint64_t from = firstByte + piece * perPiece * kPrimeSegmentBytes;
        const uint64_t to = from + perPiece * kPrimeSegmentBytes < lastByte ? from + perPiece * kPrimeSegmentBytes
                                                                            : lastByte;
        PrimeSegments sieve(plan.primes + 1, sieving, states + worker * (sieving + 1), from);
        PieceCount out{0, 0, 0};
        for (uint64_t lo = from; lo < to; lo += kPrimeSegmentBytes) {
            const uint64_t hi = lo + kPrimeSegmentBytes < to ? lo + kPrimeSegmentBytes : to;
            // The p with x / p in [30 lo, 30 hi): x / (30 hi) < p <= x / (30 lo).
            uint64_t pTop = x / (30 * lo);
            if (pTop > plan.root) pTop = plan.root;
            const uint64_t pBottom = x / (30 * hi) > y ? x / (30 * hi) : y;
            sieve.sieve(segment, lo, hi);
            uint64_t word = 0, before = out.primes;  // from the piece's start
            for (uint64_t p = plan.pi.primeAtOrBelow(pTop); p > pBottom; p = plan.pi.primeAtOrBelow(p - 1)) {
                const uint64_t n = x / p;
                const uint64_t byte = n / 30 - lo;
                for (; word < byte / 8; ++word) {
                    uint64_t w;
                    std::memcpy(&w, segment + 8 * word, 8);
                    before += popcount64(w);
                }
                uint64_t w;
                std::memcpy(&w, segment + 8 * word, 8);
                out.sum += before + popcount64(w & wordMaskUpTo(byte % 8, n % 30));
                ++out.terms;
            }
            out.primes += countBits(segment, (hi - lo) / 8);
        }
        counts[piece] = out;
    });
    if (!whole) return false;
    Wide sum = 0;
    uint64_t before = plan.pi.pi(30 * firstByte - 1);
    for (uint64_t i = 0; i < pieces; ++i) {
        sum += counts[i].sum + static_cast<Wide>(counts[i].terms) * before;
        before += counts[i].primes;
    }
    // Less the sum of pi(p) - 1 = b - 1 over b = a + 1 .. pi(sqrt(x)).
    const Wide last = plan.pi.pi(plan.root);
    const Wide a = plan.a;
    p2 = sum - (last * (last - 1) / 2 - a * (a - 1) / 2);
    return true;
}

}  // namespace counting
