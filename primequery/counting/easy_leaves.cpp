// The special leaves x / (p_b q), q prime, whose phi is read from pi:
// trivial ones (x / (p q) < p, phi = 1) counted together, easy ones
// (p <= x / (p q) < p^2, phi = pi(x / (p q)) - b + 2) one by one, or a run of
// q at once where pi(x / (p q)) stays the same (below both y, where the next
// prime down is in the list, and q).
#include "primequery/counting/counting_plan.h"
#include "primequery/counting/parallel_pieces.h"

namespace counting {

namespace {

Wide leavesOf(const CountingPlan& plan, uint64_t b) {
    const uint64_t p = plan.primes[b];
    const uint64_t xp = plan.x / p;
    const uint64_t y = plan.y;
    // q > max(p, y / p); trivial above x / p^2, easy above x / p^3.
    uint64_t least = p > y / p ? p : y / p;
    const uint64_t square = xp / p;
    const uint64_t cube = square / p;
    Wide sum = 0;
    const uint64_t trivialFrom = square > least ? square : least;
    if (trivialFrom < y) sum += plan.a - plan.pi.pi(trivialFrom);
    const uint64_t easyFrom = cube > least ? cube : least;
    const uint64_t easyTo = square < y ? square : y;
    if (easyFrom >= easyTo) return sum;
    uint64_t i = plan.pi.pi(easyFrom) + 1;
    const uint64_t last = plan.pi.pi(easyTo);
    const int64_t shift = 2 - static_cast<int64_t>(b);
    while (i <= last) {
        const uint64_t q = plan.primes[i];
        const uint64_t n = divide(xp, q);
        const uint64_t l = plan.pi.pi(n);
        if (n > y || n >= q) {
            sum += static_cast<int64_t>(l) + shift;
            ++i;
            continue;
        }
        // Every q up to x / (p p_l) gives pi = l: worth the look-up where
        // x / (p q) falls by less than a prime gap from one q to the next.
        const uint64_t qEnd = divide(xp, plan.primes[l]);
        const uint64_t j = qEnd >= easyTo ? last : plan.pi.pi(qEnd);
        sum += static_cast<Wide>(static_cast<int64_t>(l) + shift) * static_cast<int64_t>(j - i + 1);
        i = j + 1;
    }
    return sum;
}

}  // namespace

bool easyLeaves(CountingPlan& plan, Wide& sum) {
    const uint64_t first = kC + 1;
    if (plan.a < first) return true;
    const uint64_t leaves = plan.a - first + 1;
    constexpr uint64_t kPieceLeaves = 64;
    const uint64_t pieces = (leaves + kPieceLeaves - 1) / kPieceLeaves;
    Wide sums[platform::kMaxThreads] = {};
    const bool whole = forEachPiece(pieces, plan.threads, [&](uint64_t piece, unsigned worker) {
        const uint64_t from = first + piece * kPieceLeaves;
        const uint64_t to = from + kPieceLeaves <= plan.a + 1 ? from + kPieceLeaves : plan.a + 1;
        Wide s = 0;
        for (uint64_t b = from; b < to; ++b) s += leavesOf(plan, b);
        sums[worker] += s;
    });
    for (const Wide& s : sums) sum += s;
    return whole;
}

}  // namespace counting
