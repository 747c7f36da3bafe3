// C++ helpers over the NumRec accessors for the library's own routines.
#pragma once

#include <cstdint>

#include "q64/m9_numrec.h"

namespace numrec {

inline uint64_t* mantissa(uint64_t* rec) { return rec + 2; }

// The first significant word and the significant length (_9_lenadr).
struct Significant {
    uint64_t* p;
    uint64_t n;
};
inline Significant significant(uint64_t* rec) {
    Q2Value r = _9_lenadr(rec);
    return {reinterpret_cast<uint64_t*>(r.lo), r.hi};
}

inline bool isZero(const uint64_t* rec) { return _9_len(rec) == 0; }

// Adds the signed k to the exponent through _9_expadd; false, exponent
// unchanged, on signed overflow (a sum of exactly -2^63 is stored).
inline bool expAdd(uint64_t* rec, int64_t k) {
    int64_t sum;
    if (__builtin_add_overflow(_9_exp(rec), k, &sum)) return false;
    _9_expadd(rec, k);
    return true;
}

// Adds (subtracts) the unsigned count k to (from) the exponent through
// _9_expadd (_9_expsub). False, exponent unchanged, when the result leaves the
// signed 64-bit range; a result of exactly -2^63 is stored, as _9_expsub does.
inline bool expAddCount(uint64_t* rec, uint64_t k) {
    __int128 sum = static_cast<__int128>(_9_exp(rec)) + k;
    if (sum > INT64_MAX) return false;
    if (k > static_cast<uint64_t>(INT64_MAX)) {
        _9_expadd(rec, INT64_MAX);
        k -= static_cast<uint64_t>(INT64_MAX);
    }
    if (k != 0) _9_expadd(rec, static_cast<int64_t>(k));
    return true;
}
inline bool expSubCount(uint64_t* rec, uint64_t k) {
    __int128 diff = static_cast<__int128>(_9_exp(rec)) - k;
    if (diff < INT64_MIN) return false;
    if (k > static_cast<uint64_t>(INT64_MAX)) {
        _9_expsub(rec, INT64_MAX);
        k -= static_cast<uint64_t>(INT64_MAX);
    }
    if (k != 0) _9_expsub(rec, static_cast<int64_t>(k));
    return true;
}

}  // namespace numrec
