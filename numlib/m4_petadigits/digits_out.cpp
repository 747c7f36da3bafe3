// Decimal digits of word arrays, sixteen at a time. Each division of the whole
// array by 10^16 gives the next group of sixteen digits, least significant
// first; the groups are put in order afterwards, in place, by reversing the
// sixteen-byte groups and rotating the head digits in front of them.
#include <cstring>

#include "q64/m0_utilities.h"
#include "q64/m1_wordarrays.h"
#include "numlib/m4_petadigits/digits_dc.h"
#include "q64/m4_petadigits.h"
#include "q64/m9_numrec.h"
#include "profiler/hook.h"

namespace {
constexpr uint64_t kGroup = 16;

// The state of _4_numtostr and _4_numtozstr while they work: the output
// cursor, the array and its word count, and the text start.
struct DigitsWork {
    char* cursor;
    uint64_t* words;
    uint64_t count;
    char* start;
};
DigitsWork work;

// Writes the remainder of one division by 10^16 as sixteen digits and drops
// the array's leading zero words.
void writeGroup() {
    uint64_t r = _1_div1n(work.words, work.count, NUMREC_PETA);
    work.cursor += _0_numtostr16(work.cursor, r);
    work.count = _0_cprslmem(work.words, work.count);
}

uint64_t groupsWritten() { return static_cast<uint64_t>(work.cursor - work.start) / kGroup; }
}  // namespace

extern "C" int64_t _4_cmpeta(const uint64_t* a, uint64_t n) {
    PRF_ENTER(_4_cmpeta);
    if (n >= 2) return 1;
    if (n == 0 || a[0] < NUMREC_PETA) return -1;
    return a[0] == NUMREC_PETA ? 0 : 1;
}

uint64_t m4::digitsBySteps(char* out, uint64_t* a, uint64_t n) {
    if (n == 1 && a[0] < NUMREC_PETA) return _0_numtostr(out, a[0]);
    work = DigitsWork{out, a, n, out};
    do {
        writeGroup();
    } while (_4_cmpeta(work.words, work.count) >= 0);
    const uint64_t groups = groupsWritten();
    // What is left is below 10^16: at most sixteen head digits.
    uint64_t head = 0;
    if (work.count != 0 && work.words[0] != 0) head = _0_numtostr(work.cursor, work.words[0]);
    _0_xchgar(work.start, kGroup * groups, kGroup);
    _0_rolr(work.start, kGroup * groups + head, head);
    return kGroup * groups + head;
}

// Long arrays go by halves when the working stack has room for it.
extern "C" uint64_t _4_numtostr(char* out, uint64_t* a, uint64_t n) {
    PRF_ENTER(_4_numtostr);
    if (n == 0) return _0_numtostr(out, 0);
    if (n == 1 && a[0] < NUMREC_PETA) return _0_numtostr(out, a[0]);
    uint64_t count;
    if (m4::digitsByHalves(out, a, n, &count)) return count;
    return m4::digitsBySteps(out, a, n);
}

// By halves, the digits are moved up behind the zeros of the first group.
extern "C" uint64_t _4_numtozstr(char* out, uint64_t* a, uint64_t n) {
    PRF_ENTER(_4_numtozstr);
    if (n == 0) return _0_numtostr16(out, 0);
    uint64_t count;
    if (m4::digitsByHalves(out, a, n, &count)) {
        const uint64_t pad = (kGroup - count % kGroup) % kGroup;
        if (pad != 0) {
            std::memmove(out + pad, out, count);
            _0_chset(out, pad, '0');
        }
        return count + pad;
    }
    work = DigitsWork{out, a, n, out};
    do {
        writeGroup();
    } while (work.count != 0);
    const uint64_t groups = groupsWritten();
    _0_xchgar(work.start, kGroup * groups, kGroup);
    return kGroup * groups;
}
