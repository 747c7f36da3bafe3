// Length fields of NumRec: reading and writing L and l. The writers change
// only their bits of the header word (the unguarded one-step ones change the
// whole word by one, so they rely on 0 < L resp. L < 2^28-1).
#include "profiler/hook.h"
#include "q64/m9_numrec.h"

namespace {
inline uint64_t lenvOf(const uint64_t* rec) { return rec[0] & NUMREC_LENV_MASK; }
inline uint64_t lenlOf(const uint64_t* rec) { return (rec[0] & NUMREC_LENL_MASK) >> NUMREC_LENL_SHIFT; }
inline void storeLenv(uint64_t* rec, uint64_t lenv) {
    rec[0] = (rec[0] & ~NUMREC_LENV_MASK) | (lenv & NUMREC_LENV_MASK);
}
}  // namespace

extern "C" uint64_t _9_lenv(const uint64_t* rec) {
    PRF_ENTER(_9_lenv);
    return lenvOf(rec);
}

extern "C" uint64_t _9_lenl(const uint64_t* rec) {
    PRF_ENTER(_9_lenl);
    return lenlOf(rec);
}

extern "C" Q2Value _9_lenlen(const uint64_t* rec) {
    PRF_ENTER(_9_lenlen);
    return Q2Value{lenvOf(rec), lenlOf(rec)};
}

extern "C" uint64_t _9_lenmxv(const uint64_t* rec) {
    PRF_ENTER(_9_lenmxv);
    return lenlOf(rec) - 2;
}

extern "C" uint64_t _9_lenlft(const uint64_t* rec) {
    PRF_ENTER(_9_lenlft);
    return lenlOf(rec) - 2 - lenvOf(rec);
}

extern "C" int64_t _9_len2st(uint64_t* rec, uint64_t lenv, uint64_t lenl) {
    PRF_ENTER(_9_len2st);
    if (lenl > NUMREC_LENL_MAX || lenl < 2 || lenv > lenl - 2) return -1;
    rec[0] = (rec[0] & ~NUMREC_LENGTHS_MASK) | (lenl << NUMREC_LENL_SHIFT) | lenv;
    return static_cast<int64_t>(lenl);
}

extern "C" uint64_t _9_len1st(uint64_t* rec, uint64_t lenv) {
    PRF_ENTER(_9_len1st);
    storeLenv(rec, lenv);
    return lenv;
}

extern "C" uint64_t _9_len1ad(uint64_t* rec) {
    PRF_ENTER(_9_len1ad);
    rec[0] += 1;
    return lenvOf(rec);
}

extern "C" uint64_t _9_len1sb(uint64_t* rec) {
    PRF_ENTER(_9_len1sb);
    rec[0] -= 1;
    return lenvOf(rec);
}

extern "C" uint64_t _9_lennad(uint64_t* rec, uint64_t k) {
    PRF_ENTER(_9_lennad);
    storeLenv(rec, lenvOf(rec) + k);
    return lenvOf(rec);
}

extern "C" int64_t _9_lennadum(uint64_t* rec, uint64_t k) {
    PRF_ENTER(_9_lennadum);
    if (k > lenlOf(rec) - 2 - lenvOf(rec)) return -1;
    storeLenv(rec, lenvOf(rec) + k);
    return static_cast<int64_t>(lenvOf(rec));
}

extern "C" uint64_t _9_lennsb(uint64_t* rec, uint64_t k) {
    PRF_ENTER(_9_lennsb);
    storeLenv(rec, lenvOf(rec) - k);
    return lenvOf(rec);
}

extern "C" int64_t _9_lencnsb(uint64_t* rec, uint64_t k) {
    PRF_ENTER(_9_lencnsb);
    if (k > lenvOf(rec)) return -1;
    storeLenv(rec, lenvOf(rec) - k);
    return static_cast<int64_t>(lenvOf(rec));
}
