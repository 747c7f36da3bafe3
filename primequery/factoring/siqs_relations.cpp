// The relation store of the quadratic sieve: full relations become rows at
// once; a partial relation (one large prime) waits in an index by its large
// prime until a second one with the same prime comes, and the pair makes a
// row (the large prime then appears squared).
#include <cstring>

#include "primequery/factoring/siqs_work.h"

namespace factoring::siqs {
namespace {

inline constexpr uint32_t kIndexMask = (1u << kIndexBits) - 1;

uint32_t slotOf(uint64_t large) {
    return static_cast<uint32_t>((large * 0x9E3779B97F4A7C15ULL) >> 48) & (kHashSlots - 1);
}

void addRow(RelationStore& rs, uint32_t first, uint32_t second) {
    if (rs.rows >= kMaxRows) return;
    rs.rowFirst[rs.rows] = first;
    rs.rowSecond[rs.rows] = second;
    ++rs.rows;
    if (second == kNone) ++rs.fullCount;
    else ++rs.pairCount;
}

}  // namespace

void clearRelations(Work& w) {
    RelationStore& rs = w.rs;
    rs.count = rs.poolUsed = rs.rows = rs.fullCount = rs.pairCount = 0;
    const uint64_t pmax = w.fb.prime[w.fb.count - 1];
    // Below pmax^2 a cofactor without factor base primes is prime.
    rs.largeBound = pmax * (w.params.lpMult < pmax ? w.params.lpMult : pmax);
    if (++rs.generation >= (1u << (32 - kIndexBits))) {  // the tags wrapped around
        std::memset(rs.hash, 0, sizeof rs.hash);
        rs.generation = 1;
    }
}

void storeRelation(Work& w, u128 y, bool negative, int twos, const uint16_t* factors, int count, uint64_t large) {
    RelationStore& rs = w.rs;
    // The last kMaxRows places are kept for full relations, so that a run
    // whose store fills up still ends.
    const bool full = large == 1;
    const uint32_t room = full ? kMaxRelations : kMaxRelations - kMaxRows;
    const uint32_t poolRoom = full ? kPoolEntries : kPoolEntries - kMaxRows * kMaxFactors;
    if (rs.count >= room || rs.poolUsed + count > poolRoom) return;
    uint32_t slot = 0, partner = kNone;
    if (large != 1) {
        slot = slotOf(large);
        const uint32_t tag = rs.generation << kIndexBits;
        while ((rs.hash[slot] & ~kIndexMask) == tag) {
            if (rs.rel[rs.hash[slot] & kIndexMask].large == large) {
                partner = rs.hash[slot] & kIndexMask;
                break;
            }
            slot = (slot + 1) & (kHashSlots - 1);
        }
    }
    const uint32_t index = rs.count++;
    Relation& r = rs.rel[index];
    r.y = y;
    r.large = large;
    r.offset = rs.poolUsed;
    r.count = static_cast<uint16_t>(count);
    r.negative = negative;
    r.twos = static_cast<uint8_t>(twos);
    std::memcpy(rs.pool + rs.poolUsed, factors, sizeof(uint16_t) * count);
    rs.poolUsed += count;
    if (large == 1) addRow(rs, index, kNone);
    else if (partner != kNone) addRow(rs, partner, index);
    else rs.hash[slot] = rs.generation << kIndexBits | index;
}

}  // namespace factoring::siqs
