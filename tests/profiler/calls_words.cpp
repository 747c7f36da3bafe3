// Rows of module _0_: bytes, words and bits.
#include <cstring>

#include "q64/q64.h"
#include "tests/profiler/routine_calls.h"

namespace prftest {

namespace {
// A byte area with room for every edit below.
struct Area {
    char bytes[64];
    Area(const char* text = "abcdefghijklmnopqrstuvwxyz0123456789") {
        std::memset(bytes, 0, sizeof bytes);
        std::strcpy(bytes, text);
    }
    operator char*() { return bytes; }
};
}  // namespace

void addWordCalls(RoutineCalls& c) {
    using W = uint64_t;
    // Bits and shifts.
    c["_0_numulnum"] = [] { _0_numulnum(1, 5); };
    c["_0_bitshtlex"] = [] { W a[2] = {1, 0}; _0_bitshtlex(a, 1, 1); };
    c["_0_bitshtrex"] = [] { W a[2] = {3, 0}; _0_bitshtrex(a, 1, 1); };
    c["_0_bitshtr"] = [] { W a[2] = {3, 4}; _0_bitshtr(a, 2, 1); };
    c["_0_bitshtl"] = [] { W a[2] = {3, 4}; _0_bitshtl(a, 2, 1); };
    c["_0_bitoffcnt"] = [] { _0_bitoffcnt(5); };
    c["_0_bitoncnt"] = [] { _0_bitoncnt(5); };
    c["_0_bitcnt0"] = [] { W a[2] = {3, 4}; _0_bitcnt0(a, 2); };
    c["_0_bitscan0n"] = [] { _0_bitscan0n(0xF0, 1); };
    c["_0_bitscan0"] = [] { W a[2] = {~W{0}, 4}; _0_bitscan0(a, 0, 2); };
    c["_0_bitlen"] = [] { W a[2] = {0, 4}; _0_bitlen(a, 2); };
    // Numbers.
    c["_0_range"] = [] { _0_range(1, 0, 2); };
    c["_0_neg"] = [] { _0_neg(1); };
    c["_0_rup8"] = [] { _0_rup8(3); };
    c["_0_rup"] = [] { _0_rup(3, 5); };
    c["_0_max"] = [] { _0_max(3, 5); };
    c["_0_abs"] = [] { _0_abs(-3); };
    c["_0_subq2"] = [] { _0_subq2(Q2Value{1, 0}, 1); };
    c["_0_addq2"] = [] { _0_addq2(Q2Value{1, 0}, 1); };
    c["_0_sftlq2"] = [] { _0_sftlq2(Q2Value{1, 0}, 1); };
    c["_0_cvtqtoq2"] = [] { _0_cvtqtoq2(-1); };
    c["_0_n10n"] = [] { _0_n10n(3, 2); };
    c["_0_pow64"] = [] { _0_pow64(2, 3); };
    // Byte edits and scans.
    c["_0_isrtchars"] = [] { Area a; _0_isrtchars(a, 4, 'x', 2); };
    c["_0_isrtch"] = [] { Area a; _0_isrtch(a, 4, 1, 'x'); };
    c["_0_nextch"] = [] { _0_nextch("  a"); };
    c["_0_cprstr"] = [] { Area a("  ab;"); _0_cprstr(a, ';'); };
    c["_0_scanmch"] = [] { _0_scanmch("ab;", ';'); };
    c["_0_chnum"] = [] { _0_chnum("12", 2); };
    c["_0_strchar"] = [] { _0_strchar("abc", 'b'); };
    c["_0_schtozr"] = [] { Area a("ab\n"); _0_schtozr(a, 0); };
    c["_0_scanchnum"] = [] { _0_scanchnum("12;", 3, ';'); };
    c["_0_scanch"] = [] { _0_scanch("abc", 3, 'b'); };
    c["_0_scanatoz"] = [] { _0_scanatoz("Abc", 3, 'a'); };
    c["_0_scanratoz"] = [] { _0_scanratoz("Abc", 3, 'a'); };
    c["_0_rolr"] = [] { Area a; _0_rolr(a, 8, 3); };
    c["_0_rolr16"] = [] { Area a; _0_rolr16(a, 20, 10); };
    c["_0_rolr8"] = [] { Area a; _0_rolr8(a, 8, 3); };
    c["_0_stolreg"] = [] { Area a; _0_stolreg(a, 0x414243, 3); };
    c["_0_storeg"] = [] { Area a; _0_storeg(a, 0x414243, 3); };
    c["_0_strsftr1ch"] = [] { Area a; _0_strsftr1ch(a, 3, 'z'); };
    c["_0_strsftr"] = [] { Area a; _0_strsftr(a, 3, 1); };
    c["_0_strsftl"] = [] { Area a; _0_strsftl(a + 2, 3, 1); };
    c["_0_strlen"] = [] { _0_strlen("abc"); };
    c["_0_strcmp"] = [] { _0_strcmp("abc", "abc"); };
    c["_0_strcpych"] = [] { Area a; _0_strcpych(a, "ab;c", ';'); };
    c["_0_strcpy"] = [] { Area a; _0_strcpy(a, "xyz", 3); };
    c["_0_xchgar"] = [] { Area a; _0_xchgar(a, 8, 2); };
    c["_0_xchgar16"] = [] { Area a; _0_xchgar16(a, 32); };
    c["_0_xchgar8"] = [] { Area a; _0_xchgar8(a, 16); };
    c["_0_xchgar4"] = [] { Area a; _0_xchgar4(a, 8); };
    c["_0_xchgar2"] = [] { Area a; _0_xchgar2(a, 4); };
    c["_0_xchgar1"] = [] { Area a; _0_xchgar1(a, 3); };
    c["_0_cntchr"] = [] { _0_cntchr("aab"); };
    // Word moves.
    c["_0_cprsmmem"] = [] { W a[3] = {0, 5, 0}; _0_cprsmmem(a, 3); };
    c["_0_expdnmem"] = [] { W a[4] = {1, 2}; _0_expdnmem(a, 2, 2); };
    c["_0_expd1mem"] = [] { W a[3] = {1, 2}; _0_expd1mem(a, 2); };
    c["_0_cprslmem"] = [] { W a[3] = {0, 5, 6}; _0_cprslmem(a, 3); };
    c["_0_sftlmem"] = [] { W a[3] = {0, 5, 6}; _0_sftlmem(a + 1, 2, 1); };
    c["_0_cprsrmem"] = [] { W a[3] = {5, 0, 0}; _0_cprsrmem(a, 3); };
    c["_0_prs1mem"] = [] { W a[3] = {1, 2, 3}; _0_prs1mem(a, 3); };
    c["_0_cpynzmem"] = [] { W a[2] = {0, 5}, d[2] = {}; _0_cpynzmem(d, a, 2); };
    c["_0_cpymem"] = [] { W a[2] = {4, 5}, d[2] = {}; _0_cpymem(d, a, 2); };
    c["_0_xchg"] = [] { W x = 1, y = 2; _0_xchg(&x, &y); };
    c["_0_clear"] = [] { W a[2] = {4, 5}; _0_clear(a, 2); };
    c["_0_cntdup"] = [] { W a[3] = {4, 4, 5}; _0_cntdup(a, 3); };
    // Decimal text.
    c["_0_numtostr16"] = [] { Area a; _0_numtostr16(a, 42); };
    c["_0_numtostr"] = [] { Area a; _0_numtostr(a, 42); };
    c["_0_numq2decsz"] = [] { _0_numq2decsz(5, 1); };
    c["_0_numqdecsz"] = [] { _0_numqdecsz(5); };
    c["_0_numq2tostrn"] = [] { Area a; _0_numq2tostrn(a, 0, 5, 1); };
    c["_0_numq2tostr"] = [] { Area a; _0_numq2tostr(a, 5, 1); };
    c["_0_strshr"] = [] { Area a; _0_strshr(a, 3, 1); };
    c["_0_strxchch"] = [] { Area a; _0_strxchch(a, 3); };
    c["_0_chset"] = [] { Area a; _0_chset(a, 3, 'a'); };
    c["_0_strltonum"] = [] { _0_strltonum("12", 2); };
    c["_0_strtobigar"] = [] { Q2Value v{}; _0_strtobigar(&v, "123", 0); };
    c["_0_strtobignum"] = [] { _0_strtobignum("123", 3); };
    c["_0_strdgt64num"] = [] { _0_strdgt64num("0123"); };
    c["_0_strtonum"] = [] { _0_strtonum("123", 3); };
    c["_0_dgtlen"] = [] { _0_dgtlen("123x"); };
    // Word-array comparisons.
    c["_0_cntzero"] = [] { W a[2] = {0, 5}; _0_cntzero(a, 2); };
    c["_0_n1mxn2n1"] = [] { W a[2] = {1, 0}, b[1] = {1}; _0_n1mxn2n1(a, b, 1, 0); };
    c["_0_n1mxn2n"] = [] { W a[1] = {4}, b[1] = {1}; _0_n1mxn2n(a, b, 1, 0); };
    c["_0_cmpeta"] = [] { W a[1] = {5}; _0_cmpeta(a, 1); };
    c["_0_cmp"] = [] { W a[1] = {4}, b[1] = {5}; _0_cmp(a, b, 1); };
    c["_0_cmp2n1"] = [] { W a[2] = {1, 0}, b[1] = {1}; _0_cmp2n1(a, b, 1, 1); };
    c["_0_cmp2n0"] = [] { W a[1] = {4}, b[1] = {1}; _0_cmp2n0(a, b, 1, 1); };
}

}  // namespace prftest
