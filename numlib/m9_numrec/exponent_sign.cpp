// Exponent and sign of a NumRec. The exponent is a signed count of peta digits;
// overflow is reported as -2^63 with the exponent left as it was.
#include "profiler/hook.h"
#include "q64/m9_numrec.h"

extern "C" int64_t _9_exp(const uint64_t* rec) {
    PRF_ENTER(_9_exp);
    return static_cast<int64_t>(rec[1]);
}

extern "C" uint64_t _9_absexp(const uint64_t* rec) {
    PRF_ENTER(_9_absexp);
    int64_t e = static_cast<int64_t>(rec[1]);
    return e < 0 ? 0 - rec[1] : rec[1];
}

extern "C" int64_t _9_expadd(uint64_t* rec, int64_t k) {
    PRF_ENTER(_9_expadd);
    int64_t e;
    if (__builtin_add_overflow(static_cast<int64_t>(rec[1]), k, &e)) return NUMREC_EXP_INVALID;
    rec[1] = static_cast<uint64_t>(e);
    return e;
}

extern "C" int64_t _9_expsub(uint64_t* rec, int64_t k) {
    PRF_ENTER(_9_expsub);
    int64_t e;
    if (__builtin_sub_overflow(static_cast<int64_t>(rec[1]), k, &e)) return NUMREC_EXP_INVALID;
    rec[1] = static_cast<uint64_t>(e);
    return e;
}

extern "C" uint64_t _9_signst(uint64_t* rec, uint64_t s) {
    PRF_ENTER(_9_signst);
    rec[0] = (rec[0] & ~NUMREC_SIGN_BIT) | (s << 63);
    return s;
}

extern "C" uint64_t _9_signeg(uint64_t* rec) {
    PRF_ENTER(_9_signeg);
    rec[0] ^= NUMREC_SIGN_BIT;
    return rec[0] >> 63;
}

extern "C" uint64_t _9_opsign(uint64_t* rec, const uint64_t* other) {
    PRF_ENTER(_9_opsign);
    rec[0] ^= other[0] & NUMREC_SIGN_BIT;
    return rec[0] >> 63;
}
