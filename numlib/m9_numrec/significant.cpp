// Quantities derived from the significant words of a NumRec: every one starts
// from the walk over the L mantissa words to the first non-zero word.
#include "profiler/hook.h"
#include "q64/m3_petapowers.h"
#include "q64/m9_numrec.h"

namespace {
struct Walk {
    const uint64_t* p;  // null for a zero record
    uint64_t n;
};

inline Walk walk(const uint64_t* rec) {
    uint64_t lenv = rec[0] & NUMREC_LENV_MASK;
    const uint64_t* m = rec + 2;
    for (uint64_t i = 0; i < lenv; ++i) {
        if (m[i] != 0) return Walk{m + i, lenv - i};
    }
    return Walk{nullptr, 0};
}

inline uint64_t capacityOf(const uint64_t* rec) {
    return ((rec[0] & NUMREC_LENL_MASK) >> NUMREC_LENL_SHIFT) - 2;
}

inline uint64_t bitLength(Walk w) {
    if (w.n == 0) return 0;
    return 64 * (w.n - 1) + 64 - static_cast<uint64_t>(__builtin_clzll(*w.p));
}

inline uint64_t address(const uint64_t* p) { return reinterpret_cast<uint64_t>(p); }
}  // namespace

extern "C" Q2Value _9_lenadr(uint64_t* rec) {
    PRF_ENTER(_9_lenadr);
    Walk w = walk(rec);
    return Q2Value{address(w.p), w.n};
}

extern "C" uint64_t _9_len(const uint64_t* rec) {
    PRF_ENTER(_9_len);
    return walk(rec).n;
}

extern "C" Q2Value _9_blenadr(uint64_t* rec) {
    PRF_ENTER(_9_blenadr);
    Walk w = walk(rec);
    return Q2Value{address(w.p), bitLength(w)};
}

extern "C" uint64_t _9_blen(const uint64_t* rec) {
    PRF_ENTER(_9_blen);
    return bitLength(walk(rec));
}

extern "C" uint64_t _9_bitleft(const uint64_t* rec) {
    PRF_ENTER(_9_bitleft);
    return 64 * capacityOf(rec) - bitLength(walk(rec));
}

extern "C" Q2Value _9_lenmlft(const uint64_t* rec) {
    PRF_ENTER(_9_lenmlft);
    Walk w = walk(rec);
    return Q2Value{capacityOf(rec) - w.n, w.n == 0 ? 0 : *w.p};
}

extern "C" Q2Value _9_expundsize(const uint64_t* rec, uint64_t k) {
    PRF_ENTER(_9_expundsize);
    Walk w = walk(rec);
    if (w.n == 0) return Q2Value{0, 0};
    uint64_t size = w.n + _3_petaqwl(k);
    return Q2Value{size, size > capacityOf(rec) ? ~uint64_t{0} : 0};
}
