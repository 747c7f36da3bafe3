// The hard special leaves: phi(x / (p_b m), b - 1) read from a sieve of
// [1, x / y] segment by segment, the primes p_7 .. p_b-1 crossed off in
// turn, with a count of the set bits per chunk of the segment. The leaves of
// one b come in ascending order inside a segment, so one running count
// serves them all. Pieces of segments go to the threads; each piece counts
// from its own start, and the counts before it are added in order at the end.
#include <cstring>

#include "primequery/counting/counting_plan.h"
#include "primequery/counting/counting_tuning.h"
#include "primequery/counting/parallel_pieces.h"
#include "primequery/counting/wheel30_sieve.h"

namespace counting {

namespace {

constexpr uint64_t kSegmentBytes = kLeafSegmentBytes;
constexpr uint64_t kChunks = kSegmentBytes >> kChunkShift;
constexpr uint64_t kChunkWords = (uint64_t{1} << kChunkShift) / 8;
constexpr uint64_t kPieceGrowth = 8;

// The set bits of a segment up to a number, for ascending numbers.
class RunningCount {
public:
    RunningCount(const uint8_t* segment, const uint32_t* counters) : segment_(segment), counters_(counters) {}

    // Set bits of bytes [0, byte) plus those of `byte` under `mask`.
    uint64_t upTo(uint64_t byte, uint8_t mask) {
        const uint64_t chunk = byte >> kChunkShift;
        if (chunk != chunk_) {
            while (chunk_ < chunk) before_ += counters_[chunk_++];
            word_ = chunk * kChunkWords;
            wordBefore_ = before_;
        }
        const uint64_t target = byte >> 3;
        while (word_ < target) wordBefore_ += popcount64(load(word_++));
        const unsigned inWord = static_cast<unsigned>(byte & 7);
        const uint64_t below = inWord == 0 ? 0 : ~uint64_t{0} >> (64 - 8 * inWord);
        return wordBefore_ + popcount64(load(target) & (below | uint64_t{mask} << (8 * inWord)));
    }

private:
    uint64_t load(uint64_t word) const {
        uint64_t w;
        std::memcpy(&w, segment_ + 8 * word, 8);
        return w;
    }
    const uint8_t* segment_;
    const uint32_t* counters_;
    uint64_t chunk_ = 0;
    uint64_t before_ = 0;
    uint64_t word_ = 0;
    uint64_t wordBefore_ = 0;
};

struct LeafBounds {
    uint64_t first = kC + 1;
    uint64_t last = 0;           // the largest b with hard leaves
    uint64_t lastComposite = 0;  // the largest b whose leaves may have composite m
    uint64_t* xp = nullptr;      // x / p_b
    uint64_t* top = nullptr;     // the largest m (or q) of b's hard leaves
    uint64_t* reach = nullptr;   // the largest n of the leaves of b or any later b
};

bool boundLeaves(CountingPlan& plan, LeafBounds& bounds) {
    const uint64_t y = plan.y;
    uint64_t last = 0;
    for (uint64_t b = bounds.first; b <= plan.a && b < plan.primeCount; ++b) {
        const uint64_t p = plan.primes[b];
        const uint64_t cube = plan.x / p / p / p;
        const uint64_t least = p > y / p ? p : y / p;
        const uint64_t next = plan.primes[b + 1];
        const bool composite = next * next <= y;
        if (!composite && (cube < y ? cube : y) <= least) break;
        last = b;
    }
    bounds.last = last;
    if (last < bounds.first) return true;
    bounds.xp = plan.memory.take<uint64_t>(last + 1);
    bounds.top = plan.memory.take<uint64_t>(last + 1);
    bounds.reach = plan.memory.take<uint64_t>(last + 2);
    if (bounds.xp == nullptr || bounds.top == nullptr || bounds.reach == nullptr) return false;
    for (uint64_t b = bounds.first; b <= last; ++b) {
        const uint64_t p = plan.primes[b];
        const uint64_t next = plan.primes[b + 1];
        const uint64_t cube = plan.x / p / p / p;
        const uint64_t least = p > y / p ? p : y / p;
        bounds.xp[b] = plan.x / p;
        if (next * next <= y) {
            bounds.lastComposite = b;
            bounds.top[b] = y;
        } else {
            bounds.top[b] = cube < y ? cube : y;
        }
        bounds.reach[b] = bounds.xp[b] / (least + 1);
    }
    bounds.reach[last + 1] = 0;
    for (uint64_t b = last; b > bounds.first; --b)
        if (bounds.reach[b] > bounds.reach[b - 1]) bounds.reach[b - 1] = bounds.reach[b];
    return true;
}

// The largest b whose leaves (or later ones') reach n >= lo; below first
// when none does.
uint64_t lastReaching(const LeafBounds& bounds, uint64_t lo) {
    uint64_t low = bounds.first, high = bounds.last + 1;  // reach[low - 1 ..] unknown, reach[high] < lo
    if (bounds.reach[low] < lo) return low - 1;
    while (high - low > 1) {
        const uint64_t mid = (low + high) / 2;
        if (bounds.reach[mid] >= lo) low = mid; else high = mid;
    }
    return low;
}

struct PieceSums {
    Wide sum;
    uint64_t* phi;   // set bits of the piece for each b (after p_b-1)
    int64_t* signs;  // the sum of -mu(m) over b's leaves in the piece
};

struct WorkerSpace {
    uint8_t* segment;
    uint32_t* counters;
    CrossState* states;
};

class LeafSieve {
public:
    LeafSieve(const CountingPlan& plan, const LeafBounds& bounds) : plan_(plan), bounds_(bounds) {}

    void runPiece(uint64_t byteLo, uint64_t byteHi, WorkerSpace& space, PieceSums& out) const {
        const uint64_t lastB = lastReaching(bounds_, 30 * byteLo);
        for (uint64_t b = bounds_.first; b <= lastB; ++b) {
            const uint64_t p = plan_.primes[b];
            space.states[b] = startCrossing(p, p > 30 * byteLo ? p : 30 * byteLo, 1);
        }
        for (uint64_t lo = byteLo; lo < byteHi; lo += kSegmentBytes) {
            const uint64_t hi = lo + kSegmentBytes < byteHi ? lo + kSegmentBytes : byteHi;
            const uint64_t end = lastReaching(bounds_, 30 * lo);
            if (end < bounds_.first) break;
            presieve(space.segment, lo, hi);
            uint64_t total = recount(space, hi - lo);
            for (uint64_t b = bounds_.first; b <= end; ++b) {
                out.sum += leaves(b, lo, hi, space, out);
                out.phi[b] += total;
                if (b == end) break;
                // Small primes cross off more bits than a recount of the
                // whole segment reads.
                if (plan_.primes[b] < kRecountBelow) {
                    crossOff(space.segment, lo, hi, space.states[b]);
                    total = recount(space, hi - lo);
                } else {
                    crossOffCounted(space.segment, lo, hi, space.states[b], space.counters, kChunkShift, &total);
                }
            }
        }
    }

private:
    // Sets the chunks' counts of set bits and returns their sum.
    static uint64_t recount(WorkerSpace& space, uint64_t bytes) {
        uint64_t total = 0;
        const uint64_t chunks = (bytes + (uint64_t{1} << kChunkShift) - 1) >> kChunkShift;
        for (uint64_t c = 0; c < chunks; ++c) {
            const uint64_t from = c << kChunkShift;
            const uint64_t to = (c + 1) << kChunkShift;
            const uint64_t words = ((to < bytes ? to : bytes) - from) / 8;
            space.counters[c] = static_cast<uint32_t>(countBits(space.segment + from, words));
            total += space.counters[c];
        }
        return total;
    }

    // The leaves of b with n in the segment: sum of -mu(m) (phi before the
    // segment within the piece + the set bits up to n).
    Wide leaves(uint64_t b, uint64_t byteLo, uint64_t byteHi, WorkerSpace& space, PieceSums& out) const {
        const uint64_t p = plan_.primes[b];
        const uint64_t xp = bounds_.xp[b];
        const uint64_t y = plan_.y;
        const uint64_t lo = 30 * byteLo, hi = 30 * byteHi - 1;
        const uint64_t least = p > y / p ? p : y / p;
        uint64_t mTop = lo == 0 ? bounds_.top[b] : xp / lo;
        if (mTop > bounds_.top[b]) mTop = bounds_.top[b];
        uint64_t mBottom = xp / (hi + 1);
        if (mBottom < least) mBottom = least;
        if (mTop <= mBottom) return 0;
        RunningCount count(space.segment, space.counters);
        const uint64_t before = out.phi[b];
        Wide sum = 0;
        int64_t signs = 0;
        auto phiAt = [&](uint64_t n) {
            return before + count.upTo(n / 30 - byteLo, kMaskUpTo[n % 30]);
        };
        if (b <= bounds_.lastComposite) {
            const int64_t sp = static_cast<int64_t>(p);
            const uint64_t square = p * p;
            const int32_t* f = plan_.factors;
            for (uint64_t i = wheelCount(mTop); i-- > wheelCount(mBottom);) {
                const int32_t v = f[i];
                if (v > sp) {
                    sum -= phiAt(divide(xp, wheelNumber(i)));
                    --signs;
                } else if (v < -sp) {
                    const uint64_t m = wheelNumber(i);
                    const uint64_t n = divide(xp, m);
                    if (-static_cast<int64_t>(v) == static_cast<int64_t>(m) && n < square) continue;
                    sum += phiAt(n);
                    ++signs;
                }
            }
        } else {
            const uint64_t first = plan_.pi.pi(mBottom) + 1;
            for (uint64_t i = plan_.pi.pi(mTop); i >= first; --i) {
                sum += phiAt(xp < kReciprocalLimit ? divideByReciprocal(xp, plan_.primes[i], plan_.reciprocals[i])
                                                   : xp / plan_.primes[i]);
                ++signs;
            }
        }
        out.signs[b] += signs;
        return sum;
    }

    const CountingPlan& plan_;
    const LeafBounds& bounds_;
};

}  // namespace

bool hardLeaves(CountingPlan& plan, Wide& sum) {
    LeafBounds bounds;
    if (!boundLeaves(plan, bounds)) return false;
    if (bounds.last < bounds.first) return true;
    const uint64_t bytes = (bounds.reach[bounds.first] / 30 + 1 + 7) & ~uint64_t{7};
    const uint64_t segments = (bytes + kSegmentBytes - 1) / kSegmentBytes;
    // The leaves thin out as 1 / n: pieces of segments that grow with
    // their start (1 + start / kPieceGrowth segments) carry similar work.
    uint64_t pieces = 0;
    for (uint64_t at = 0; at < segments; at += 1 + at / kPieceGrowth) ++pieces;
    uint64_t* starts = plan.memory.take<uint64_t>(pieces + 1);
    if (starts == nullptr) return false;
    pieces = 0;
    for (uint64_t at = 0; at < segments; at += 1 + at / kPieceGrowth) starts[pieces++] = at;
    starts[pieces] = segments;
    const uint64_t span = bounds.last + 1;

    PieceSums* sums = plan.memory.take<PieceSums>(pieces);
    uint64_t* phis = plan.memory.take<uint64_t>(pieces * span);
    int64_t* signs = plan.memory.take<int64_t>(pieces * span);
    WorkerSpace spaces[platform::kMaxThreads];
    for (unsigned t = 0; t < plan.threads; ++t) {
        spaces[t].segment = plan.memory.take<uint8_t>(kSegmentBytes);
        spaces[t].counters = plan.memory.take<uint32_t>(kChunks);
        spaces[t].states = plan.memory.take<CrossState>(span);
        if (spaces[t].states == nullptr) return false;
    }
    if (sums == nullptr || phis == nullptr || signs == nullptr) return false;
    for (uint64_t i = 0; i < pieces; ++i) sums[i] = {0, phis + i * span, signs + i * span};

    const LeafSieve sieve(plan, bounds);
    const bool whole = forEachPiece(pieces, plan.threads, [&](uint64_t piece, unsigned worker) {
        const uint64_t lo = starts[piece] * kSegmentBytes;
        const uint64_t hi = starts[piece + 1] * kSegmentBytes < bytes ? starts[piece + 1] * kSegmentBytes : bytes;
        sieve.runPiece(lo, hi, spaces[worker], sums[piece]);
    });
    if (!whole) return false;
    // phi before each piece, added in order.
    uint64_t* before = plan.memory.take<uint64_t>(span);
    if (before == nullptr) return false;
    for (uint64_t i = 0; i < pieces; ++i) {
        sum += sums[i].sum;
        for (uint64_t b = bounds.first; b <= bounds.last; ++b) {
            sum += static_cast<Wide>(sums[i].signs[b]) * static_cast<Wide>(before[b]);
            before[b] += sums[i].phi[b];
        }
    }
    return true;
}

}  // namespace counting
