// The special leaves x / (p_b q), q prime, whose phi is read from pi:
// trivial ones (x / (p q) < p, phi = 1) counted together, easy ones
// (p <= x / (p q) < p^2, phi = pi(x / (p q)) - b + 2) in two kinds:
//  - clustered, x / (p q) below both y and q / 4: pi(x / (p q)) stays the
//    same for a run of q, whose end the next prime down tells (in the list);
//  - sparse, the others, one look-up each. They reach up to sqrt(x), far
//    beyond the caches, so they are taken tile by tile of the pi table
//    (every b's leaves in one tile, then the next tile).
#include "primequery/counting/counting_plan.h"
#include "primequery/counting/counting_tuning.h"
#include "primequery/counting/parallel_pieces.h"
#include "primequery/counting/prime_pi.h"

namespace counting {

namespace {

// floor(xp / p_i) for a listed prime.
inline uint64_t quotient(const CountingPlan& plan, uint64_t xp, uint64_t i) {
    return xp < kReciprocalLimit ? divideByReciprocal(xp, plan.primes[i], plan.reciprocals[i]) : xp / plan.primes[i];
}

// The easy leaves of b: q in (from, to]; the sparse ones are those with q
// <= sparseTo.
struct EasyRange {
    uint64_t from;
    uint64_t to;
    uint64_t sparseTo;
};

EasyRange easyRange(const CountingPlan& plan, uint64_t b) {
    const uint64_t p = plan.primes[b];
    const uint64_t xp = plan.x / p;
    const uint64_t y = plan.y;
    const uint64_t least = p > y / p ? p : y / p;  // q > max(p, y / p)
    const uint64_t square = xp / p;                // trivial above x / p^2
    const uint64_t cube = square / p;              // easy above x / p^3
    EasyRange r;
    r.from = cube > least ? cube : least;
    r.to = square < y ? square : y;
    // x / (p q) > y for q <= x / (p (y + 1)); x / (p q) >= q / 4 for q^2 <= 4 x / p.
    const uint64_t aboveY = xp / (y + 1);
    const uint64_t belowRoot = squareRootFloor(xp) * kClusterFactor;
    r.sparseTo = aboveY > belowRoot ? aboveY : belowRoot;
    if (r.sparseTo > r.to) r.sparseTo = r.to;
    if (r.sparseTo < r.from) r.sparseTo = r.from;
    return r;
}

// The trivial leaves of b and its clustered easy ones.
Wide clusteredOf(const CountingPlan& plan, uint64_t b) {
    const uint64_t p = plan.primes[b];
    const uint64_t xp = plan.x / p;
    const uint64_t y = plan.y;
    const uint64_t least = p > y / p ? p : y / p;
    const uint64_t square = xp / p;
    Wide sum = 0;
    const uint64_t trivialFrom = square > least ? square : least;
    if (trivialFrom < y) sum += plan.a - plan.pi.pi(trivialFrom);
    const EasyRange r = easyRange(plan, b);
    if (r.sparseTo >= r.to) return sum;
    uint64_t i = plan.pi.pi(r.sparseTo) + 1;
    const uint64_t last = plan.pi.pi(r.to);
    const int64_t shift = 2 - static_cast<int64_t>(b);
    while (i <= last) {
        const uint64_t l = plan.pi.pi(quotient(plan, xp, i));
        // Every q up to x / (p p_l) gives pi = l.
        const uint64_t qEnd = quotient(plan, xp, l);
        const uint64_t j = qEnd >= r.to ? last : plan.pi.pi(qEnd);
        sum += static_cast<Wide>(static_cast<int64_t>(l) + shift) * static_cast<int64_t>(j - i + 1);
        i = j + 1;
    }
    return sum;
}

// Where b's sparse easy leaves lie: q in (from, to], x / (p q) <= nTop.
struct SparseLeaves {
    uint64_t xp;
    uint64_t nTop;
    uint32_t from;
    uint32_t to;
};

// The sparse easy leaves of b whose x / (p q) lies in [nLo, nHi].
Wide sparseOf(const CountingPlan& plan, uint64_t b, const SparseLeaves& leaves, uint64_t nLo, uint64_t nHi) {
    const uint64_t xp = leaves.xp;
    uint64_t qTop = xp / nLo;
    if (qTop > leaves.to) qTop = leaves.to;
    uint64_t qBottom = xp / (nHi + 1);
    if (qBottom < leaves.from) qBottom = leaves.from;
    if (qTop <= qBottom) return 0;
    const uint64_t last = plan.pi.pi(qTop);
    int64_t sum = 0;
    for (uint64_t i = plan.pi.pi(qBottom) + 1; i <= last; ++i)
        sum += static_cast<int64_t>(plan.pi.pi(quotient(plan, xp, i)));
    const int64_t shift = 2 - static_cast<int64_t>(b);
    return static_cast<Wide>(sum) + static_cast<Wide>(shift) * static_cast<int64_t>(last - plan.pi.pi(qBottom));
}

}  // namespace

bool easyLeaves(CountingPlan& plan, Wide& sum) {
    const uint64_t first = kC + 1;
    if (plan.a < first) return true;
    Wide sums[platform::kMaxThreads] = {};
    // The trivial and clustered leaves, b by b.
    const uint64_t leaves = plan.a - first + 1;
    constexpr uint64_t kPieceLeaves = 256;
    bool whole = forEachPiece((leaves + kPieceLeaves - 1) / kPieceLeaves, plan.threads,
                              [&](uint64_t piece, unsigned worker) {
                                  const uint64_t from = first + piece * kPieceLeaves;
                                  const uint64_t to = from + kPieceLeaves <= plan.a + 1 ? from + kPieceLeaves
                                                                                        : plan.a + 1;
                                  Wide s = 0;
                                  for (uint64_t b = from; b < to; ++b) s += clusteredOf(plan, b);
                                  sums[worker] += s;
                              });
    // The sparse ones, tile by tile of n (each n <= sqrt(x)); the b with
    // any lie where x / p^3 < y (p > (x / y)^(1/3)).
    uint64_t bFirst = first;
    while (bFirst <= plan.a && plan.x / plan.primes[bFirst] / plan.primes[bFirst] / plan.primes[bFirst] >= plan.y)
        ++bFirst;
    SparseLeaves* sparse = plan.memory.take<SparseLeaves>(plan.a + 1);
    if (sparse == nullptr) return false;
    for (uint64_t b = bFirst; b <= plan.a; ++b) {
        const EasyRange r = easyRange(plan, b);
        const uint64_t xp = plan.x / plan.primes[b];
        sparse[b] = {xp, r.sparseTo > r.from ? xp / (r.from + 1) : 0, static_cast<uint32_t>(r.from),
                     static_cast<uint32_t>(r.sparseTo)};
    }
    // The sparse leaves thin out as 1 / n: tiles that grow with their
    // start (by an eighth) up to kEasyTileNumbers carry similar work.
    auto tileAfter = [&](uint64_t start) {
        uint64_t length = start / 8 / 240 * 240;
        if (length < kEasyTileLeast) length = kEasyTileLeast;
        if (length > kEasyTileNumbers) length = kEasyTileNumbers;
        return start + length;
    };
    uint64_t tiles = 0;
    for (uint64_t start = 0; start <= plan.root; start = tileAfter(start)) ++tiles;
    uint64_t* starts = plan.memory.take<uint64_t>(tiles + 1);
    if (starts == nullptr) return false;
    tiles = 0;
    for (uint64_t start = 0; start <= plan.root; start = tileAfter(start)) starts[tiles++] = start;
    starts[tiles] = tileAfter(starts[tiles - 1]);
    whole = whole && forEachPiece(tiles, plan.threads, [&](uint64_t tile, unsigned worker) {
        const uint64_t nLo = tile == 0 ? 1 : starts[tile];
        const uint64_t nHi = starts[tile + 1] - 1;
        Wide s = 0;
        for (uint64_t b = bFirst; b <= plan.a; ++b)
            if (sparse[b].nTop >= nLo) s += sparseOf(plan, b, sparse[b], nLo, nHi);
        sums[worker] += s;
    });
    for (const Wide& s : sums) sum += s;
    return whole;
}

}  // namespace counting
