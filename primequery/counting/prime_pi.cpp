#include "primequery/counting/prime_pi.h"

#include <cmath>

#include "primequery/counting/counting_plan.h"
#include "primequery/counting/counting_tuning.h"
#include "primequery/counting/wheel30_sieve.h"
#include "primetable/sieve_threads.h"
#include "q64/m5_primequery.h"

namespace counting {

uint64_t cubeRoot(uint64_t n) {
    uint64_t r = static_cast<uint64_t>(std::cbrt(static_cast<long double>(n)));
    auto cube = [](uint64_t v) { return static_cast<unsigned __int128>(v) * v * v; };
    while (r > 0 && cube(r) > n) --r;
    while (cube(r + 1) <= n) ++r;
    return r;
}

uint64_t countDirectly(uint64_t x) {
    static constexpr uint8_t kSmall[7] = {0, 0, 1, 2, 2, 3, 3};
    if (x < 7) return kSmall[x];
    static uint8_t bitmap[kDirectLimit / 30 + 16];
    static CrossState states[6542];
    uint64_t count;
    const uint32_t* primes = smallPrimes(&count);
    const uint64_t bytes = (x / 30 + 1 + 7) & ~uint64_t{7};
    PrimeSegments sieve(primes, count, states, 0);
    sieve.sieve(bitmap, 0, bytes);
    const uint64_t lastByte = x / 30;
    uint64_t total = 3 + countBits(bitmap, lastByte / 8);
    for (uint64_t b = lastByte / 8 * 8; b < lastByte; ++b) total += popcount64(bitmap[b]);
    return total + popcount64(bitmap[lastByte] & kMaskUpTo[x % 30]);
}

namespace {

// An upper bound of pi(v) + 1 (the numbers prime to 30 up to v, and 2, 3, 5).
uint64_t piBound(uint64_t v) { return wheelCount(v) + 4; }

uint64_t workBytes(const CountingPlan& plan) {
    const uint64_t t = plan.threads;
    const uint64_t listed = piBound(plan.y + 400);
    const uint64_t fourth = squareRootFloor(plan.root);
    const uint64_t leafPrimes = piBound((squareRootFloor(plan.y) > fourth ? squareRootFloor(plan.y) : fourth) + 400) + 2;
    const uint64_t leafPieces = 8 * 64 + 8;  // 1 + 1/8 growth: about 8 per doubling of 2^64 / 30 bytes
    uint64_t bytes = (plan.root / 240 + 2) * sizeof(PiEntry);                // pi table
    bytes += t * (kPrimeSegmentBytes + 6543 * sizeof(CrossState));           // its sieve
    bytes += (listed + 2) * 36 + (wheelCount(plan.y) + 8) * 4;               // primes, factors, easy leaves
    bytes += (plan.root / kEasyTileNumbers + 1024) * 8;                      // their tiles
    bytes += leafPrimes * 32 + leafPieces * (leafPrimes * 16 + 64);          // hard leaves
    bytes += t * (kLeafSegmentBytes + (kLeafSegmentBytes >> kChunkShift) * 4 + leafPrimes * sizeof(CrossState));
    bytes += (16 * t + 16) * 64 + t * (kPrimeSegmentBytes + (listed + 1) * sizeof(CrossState));  // P2
    return bytes + 64 * (64 + 8 * t) + (uint64_t{1} << 20);
}

bool countCombinatorially(uint64_t x, uint64_t* count) {
    CountingPlan plan;
    plan.x = x;
    plan.threads = primetable::sieveThreads();
    plan.root = squareRootFloor(x);
    const uint64_t cube = cubeRoot(x);
    uint64_t y = static_cast<uint64_t>(alphaFor(static_cast<double>(x)) * static_cast<double>(cube));
    if (y <= cube) y = cube + 1;
    if (y > plan.root) y = plan.root;
    plan.y = y;
    plan.z = x / y;
    if (!plan.memory.reserve(workBytes(plan))) return false;
    if (!plan.pi.build(plan.root, plan.memory, plan.threads)) return false;
    const uint64_t listTo = y + 400 < plan.root ? y + 400 : plan.root;
    plan.primes = plan.memory.take<uint32_t>(piBound(listTo) + 2);
    if (plan.primes == nullptr) return false;
    plan.primeCount = plan.pi.listPrimes(listTo, plan.primes);
    plan.primes[plan.primeCount + 1] = 0;
    plan.reciprocals = plan.memory.take<double>(plan.primeCount + 2);
    if (plan.reciprocals == nullptr) return false;
    for (uint64_t i = 1; i <= plan.primeCount; ++i) plan.reciprocals[i] = 1.0 / plan.primes[i];
    plan.a = plan.pi.pi(y);
    if (!buildFactorTable(plan)) return false;
    Wide s1 = 0, easy = 0, hard = 0, p2 = 0;
    if (!ordinaryLeaves(plan, s1) || !easyLeaves(plan, easy) || !hardLeaves(plan, hard) ||
        !secondPartialSieve(plan, p2))
        return false;
    const Wide pi = s1 + easy + hard + static_cast<Wide>(plan.a) - 1 - p2;
    *count = static_cast<uint64_t>(pi);
    return true;
}

}  // namespace

bool primePi(uint64_t x, uint64_t* count) {
    if (x < kDirectLimit) {
        *count = countDirectly(x);
        return true;
    }
    return countCombinatorially(x, count);
}

}  // namespace counting

uint64_t _5_prmpi(uint64_t x) {
    uint64_t count;
    return counting::primePi(x, &count) ? count : ~uint64_t{0};
}
