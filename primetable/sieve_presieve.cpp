#include "primetable/sieve_presieve.h"

#include <array>
#include <cstring>

#include "primetable/sieve_cross.h"
#include "primetable/sieve_start.h"

namespace sieve {
namespace {

// Primes pre-sieved by patterns, in groups whose product keeps each pattern
// small (650 KB in all, in the second-level cache); the other small primes are
// crossed off like table primes. Measured on the 2.6 GHz Xeon of the
// development machines (L1 48 KiB, L2 2 MiB): pre-sieving up to 137 instead
// of up to 47 takes a tenth off a 128 MB build, and the groups from 107 on
// still gain a little.
struct Group {
    std::array<uint64_t, 3> primes;  // 0 = unused
};
constexpr std::array<Group, 14> kGroups = {{
    {{11, 13, 17}}, {{19, 23, 0}}, {{29, 31, 0}}, {{37, 41, 0}}, {{43, 47, 0}}, {{53, 59, 0}},
    {{61, 67, 0}}, {{71, 73, 0}}, {{79, 83, 0}}, {{89, 97, 0}}, {{101, 103, 0}},
    {{107, 109, 0}}, {{113, 127, 0}}, {{131, 137, 0}},
}};

// Patterns are ORed in chunks of this many bytes; each pattern is stored one
// chunk longer than its period so that a chunk never wraps.
constexpr uint64_t kChunk = 8192;

constexpr uint64_t periodBytes(const Group& g) {
    uint64_t product = 1;
    for (uint64_t p : g.primes)
        if (p) product *= p;
    return 6 * product;
}

constexpr uint64_t largestPrime(const Group& g) {
    uint64_t largest = 0;
    for (uint64_t p : g.primes)
        if (p > largest) largest = p;
    return largest;
}

constexpr std::array<uint64_t, kGroups.size() + 1> makeOffsets() {
    std::array<uint64_t, kGroups.size() + 1> offsets{};
    for (uint64_t g = 0; g < kGroups.size(); ++g) offsets[g + 1] = offsets[g] + periodBytes(kGroups[g]) + kChunk;
    return offsets;
}
constexpr auto kOffsets = makeOffsets();

alignas(64) uint8_t pool[kOffsets.back()];
bool poolReady = false;

// Crosses off the group's primes over its stored stream bytes 0 .. period + chunk.
void buildPatterns() {
    for (uint64_t g = 0; g < kGroups.size(); ++g) {
        uint8_t* pattern = pool + kOffsets[g];
        uint64_t bytes = periodBytes(kGroups[g]) + kChunk;
        for (uint64_t p : kGroups[g].primes) {
            if (p == 0) continue;
            // The first multiple with a position: the first at or above 211.
            uint64_t m = firstCofactor((wheel::kFirstNumber + p - 1) / p);
            SievingPrime sp = startAt(p, m, multipleByte(p, m, 0));
            crossOff(pattern, bytes, sp);
        }
    }
    poolReady = true;
}

// dst[0 .. n-1] |= the OR of the `count` sources (1 to 4), n a multiple of 8.
inline void orSources(uint8_t* dst, const uint8_t* const* src, uint64_t count, uint64_t n) {
    auto word = [](const uint8_t* p) {
        uint64_t w;
        std::memcpy(&w, p, 8);
        return w;
    };
    for (uint64_t i = 0; i < n; i += 8) {
        uint64_t v = word(dst + i) | word(src[0] + i);
        if (count > 1) v |= word(src[1] + i);
        if (count > 2) v |= word(src[2] + i);
        if (count > 3) v |= word(src[3] + i);
        std::memcpy(dst + i, &v, 8);
    }
}

}  // namespace

bool patternCovers(uint64_t p, uint64_t limit) {
    for (const Group& g : kGroups) {
        uint64_t top = largestPrime(g);
        if (top * top >= limit) return false;
        for (uint64_t q : g.primes)
            if (q == p) return true;
    }
    return false;
}

void preparePatterns() {
    if (!poolReady) buildPatterns();
}

namespace {

// applyPatterns with `behind` bytes between the caller's byte 0 and the
// table's stream byte 0 (byte b of the caller is stream byte b - behind,
// taken modulo each pattern's period).
void orPatterns(uint8_t* seg, uint64_t byte, uint64_t behind, uint64_t bytes, uint64_t limit) {
    preparePatterns();
    for (uint64_t done = 0; done < bytes; done += kChunk) {
        uint64_t n = bytes - done < kChunk ? bytes - done : kChunk;
        const uint8_t* sources[kGroups.size()];
        uint64_t count = 0;
        for (uint64_t g = 0; g < kGroups.size(); ++g) {
            uint64_t top = largestPrime(kGroups[g]);
            if (top * top >= limit) break;
            uint64_t period = periodBytes(kGroups[g]);
            sources[count++] = pool + kOffsets[g] + (byte + done + period - behind) % period;
        }
        // Four patterns at a time: one pass over the chunk for each four.
        for (uint64_t g = 0; g < count; g += 4)
            orSources(seg + done, sources + g, count - g < 4 ? count - g : 4, n);
    }
}

}  // namespace

void applyPatterns(uint8_t* seg, uint64_t streamByte, uint64_t bytes, uint64_t limit) {
    orPatterns(seg, streamByte, 0, bytes, limit);
}

void applyPatternsFromZero(uint8_t* seg, uint64_t byteFromZero, uint64_t bytes) {
    orPatterns(seg, byteFromZero, 6, bytes, ~uint64_t{0});
}

}  // namespace sieve
