// The linear algebra of the quadratic sieve: Gaussian elimination over GF(2)
// on bit-packed rows, one row per relation (full, or a pair of partials):
// the exponent parities of 2, the odd factor base primes and the sign, then
// an identity part that records which relations each row combines. A row
// whose parity part ends up zero is a dependency: its relations multiply to
// a square.
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
};
Matrix matrix;

inline void flip(uint64_t* row, uint32_t bit) { row[bit / 64] ^= uint64_t{1} << (bit % 64); }
inline bool test(const uint64_t* row, uint32_t bit) { return (row[bit / 64] >> (bit % 64)) & 1; }

void addRelation(const Work& w, uint64_t* row, uint32_t index) {
    const Relation& r = w.rs.rel[index];
    const uint16_t* f = w.rs.pool + r.offset;
    for (uint32_t k = 0; k < r.count; ++k) flip(row, f[k]);
    if (r.twos & 1) flip(row, 0);
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

}  // namespace

u128 solveRelations(Work& w) {
    const uint32_t rows = w.rs.rows, columns = w.fb.count + 1;
    const uint32_t columnWords = fill(w);
    const uint32_t words = columnWords + (rows + 63) / 64;
    uint32_t rank = 0;
    for (uint32_t c = 0; c < columns && rank < rows; ++c) {
        uint32_t pivot = rank;
        while (pivot < rows && !test(matrix.row[pivot], c)) ++pivot;
        if (pivot == rows) continue;
        uint64_t* p = matrix.row[pivot];
        matrix.row[pivot] = matrix.row[rank];
        matrix.row[rank] = p;
        for (uint32_t r = pivot + 1; r < rows; ++r) {
            uint64_t* row = matrix.row[r];
            if (!test(row, c)) continue;
            for (uint32_t k = c / 64; k < words; ++k) row[k] ^= p[k];
        }
        ++rank;
    }
    for (uint32_t r = rank; r < rows; ++r) {
        u128 f = squareRootFactor(w, matrix.row[r] + columnWords);
        if (f != 0) return f;
    }
    return 0;
}

}  // namespace factoring::siqs
