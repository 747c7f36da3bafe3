// The linear algebra of the quadratic sieve: Gaussian elimination over GF(2)
// on bit-packed rows, one row per relation (full, or a pair of partials):
// the exponent parities of the factor base primes and the sign, then an
// identity part that records which relations each row combines. A row whose
// parity part ends up zero is a dependency: its relations multiply to a
// square.
#include <cstring>

#include "primequery/factoring/siqs_work.h"

namespace factoring::siqs {
namespace {

inline constexpr uint32_t kColumnWords = (kMaxFb + 1 + 63) / 64;
inline constexpr uint32_t kIdentityWords = (kMaxRows + 63) / 64;
inline constexpr uint32_t kRowWords = kColumnWords + kIdentityWords;

struct Matrix {
    uint64_t bits[kMaxRows][kRowWords];
    uint64_t* row[kMaxRows];
    uint64_t* pivot[kMaxFb + 1];    // the pivot row of each column, if any
};
Matrix matrix;

inline void flip(uint64_t* row, uint32_t bit) { row[bit / 64] ^= uint64_t{1} << (bit % 64); }

// Column of the factor base index j: the largest primes (the sparsest
// columns) first, then 2, then the sign, so that the rows reduced first stay
// sparse.
inline uint32_t columnOf(const Work& w, uint32_t j) { return j == 0 ? w.fb.count - 1 : w.fb.count - 1 - j; }

void addRelation(const Work& w, uint64_t* row, uint32_t index) {
    const Relation& r = w.rs.rel[index];
    const uint16_t* f = w.rs.pool + r.offset;
    for (uint32_t k = 0; k < r.count; ++k) flip(row, columnOf(w, f[k]));
    if (r.twos & 1) flip(row, columnOf(w, 0));
    if (r.negative) flip(row, w.fb.count);
}

// Fills the rows; returns the words of the parity part.
uint32_t fill(const Work& w) {
    const RelationStore& rs = w.rs;
    const uint32_t columnWords = (w.fb.count + 1 + 63) / 64;
    const uint32_t words = columnWords + (rs.rows + 63) / 64;
    for (uint32_t r = 0; r < rs.rows; ++r) {
        uint64_t* row = matrix.bits[r];
        matrix.row[r] = row;
        std::memset(row, 0, sizeof(uint64_t) * words);
        addRelation(w, row, rs.rowFirst[r]);
        if (rs.rowSecond[r] != kNone) addRelation(w, row, rs.rowSecond[r]);
        flip(row + columnWords, r);
    }
    return columnWords;
}

// The lowest set column of the parity part from word `from` on, or kNone.
inline uint32_t lowestColumn(const uint64_t* row, uint32_t from, uint32_t columnWords) {
    for (uint32_t k = from; k < columnWords; ++k)
        if (row[k] != 0) return k * 64 + static_cast<uint32_t>(__builtin_ctzll(row[k]));
    return kNone;
}

}  // namespace

// Each row in turn is reduced by the pivot rows found so far (the pivot row
// of column c has c as its lowest set column): while its lowest set column
// has a pivot row, that row is added. A row whose parity part vanishes is a
// dependency; otherwise it becomes the pivot row of its lowest column.
u128 solveRelations(Work& w) {
    const uint32_t columnWords = fill(w);
    const uint32_t words = columnWords + (w.rs.rows + 63) / 64;
    uint64_t** pivot = matrix.pivot;
    for (uint32_t c = 0; c <= w.fb.count; ++c) pivot[c] = nullptr;
    for (uint32_t r = 0; r < w.rs.rows; ++r) {
        uint64_t* row = matrix.row[r];
        uint32_t c = lowestColumn(row, 0, columnWords);
        while (c != kNone && pivot[c] != nullptr) {
            const uint64_t* p = pivot[c];
            for (uint32_t k = c / 64; k < words; ++k) row[k] ^= p[k];
            c = lowestColumn(row, c / 64, columnWords);
        }
        if (c != kNone) {
            pivot[c] = row;
            continue;
        }
        const u128 f = squareRootFactor(w, row + columnWords);
        if (f != 0) return f;
    }
    return 0;
}

}  // namespace factoring::siqs
