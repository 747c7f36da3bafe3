// Integer and fractional parts of x = M * 10^(16e), e < 0, by one long
// division of M by 10^(16s), s = -e. The stored power P leaves out the
// floor(s/4) = w - |P| zero words at the end of 10^(16s) = P * 2^(64(w-|P|)),
// so the last w - |P| words of M are never touched: together with the |P|
// remainder words of the division they are M mod 10^(16s).
#include "numlib/m9_numrec/numrec_view.h"
#include "numlib/mb_arithmetic/div_parts.h"
#include "platform/precondition.h"
#include "profiler/hook.h"
#include "q64/m0_utilities.h"
#include "q64/m1_wordarrays.h"
#include "q64/m3_petapowers.h"
#include "q64/m9_numrec.h"
#include "q64/mb_arithmetic.h"

namespace {
// The stored power for s, its word count |P| (from the word in front of it)
// and the word count w of the full power.
struct StoredPower {
    const uint64_t* p;
    uint64_t words;
    uint64_t fullWords;
};

StoredPower storedPower(const uint64_t* x) {
    const uint64_t s = 0 - static_cast<uint64_t>(_9_exp(x));
    const uint64_t* p = _3_petaddr(s);
    return {p, p == nullptr ? 0 : (p[-1] & 0x7FFFFFFFu), _3_petaqwl(s)};
}
}  // namespace

extern "C" int64_t _b_divintpt(uint64_t* x) {
    PRF_ENTER(_b_divintpt);
    numrec::Significant s = numrec::significant(x);
    if (s.n == 0) return 0;
    const int64_t e = _9_exp(x);
    if (e > 0) return -1;
    if (e == 0) return static_cast<int64_t>(_9_lenv(x));
    if (_3_petaqwl(0 - static_cast<uint64_t>(e)) > s.n) return 0;  // M < 10^(16s)
    StoredPower power = storedPower(x);
    if (power.p == nullptr) return -1;
    if (_0_cmp(s.p, power.p, power.words) >= 0) return _b_divintpt1(x);
    if (s.n == power.fullWords) return 0;
    return _b_divintpt0(x, 0);
}

extern "C" int64_t _b_divintpt1(uint64_t* x) {
    PRF_ENTER(_b_divintpt1);
    if (numrec::mantissa(x)[0] != 0 && _9_expdslen1(x) < 0) return -1;
    return _b_divintpt0(x, 1);
}

extern "C" int64_t _b_divintpt0(uint64_t* x, uint64_t front) {
    PRF_ENTER(_b_divintpt0);
    numrec::Significant s = numrec::significant(x);
    StoredPower power = storedPower(x);
    if (power.p == nullptr) return -1;
    const uint64_t untouched = power.fullWords - power.words;
    _1_divmn(s.p - front, s.n + front - untouched, power.p, power.words);
    return static_cast<int64_t>(_9_lenv(x) - power.fullWords);
}

extern "C" int64_t _b_integer(uint64_t* x) {
    PRF_ENTER(_b_integer);
    const int64_t r = _b_divintpt(x);
    if (r <= 0) return r;
    return divparts::takeEncodedInteger(x, static_cast<uint64_t>(r));
}

extern "C" int64_t _b_divinteger(uint64_t* x, uint64_t* q) {
    PRF_ENTER(_b_divinteger);
    Q64_ASSERT(q != x);
    const int64_t r = _b_divintpt(x);
    if (r < 0) return -1;
    divparts::moveInteger(x, q, static_cast<uint64_t>(r));
    return 0;
}
