// Rows of modules _9_ (record fields), _a_ (allocation), _b_ (arithmetic) and _c_
// (comparison).
#include <array>

#include "q64/q64.h"
#include "tests/profiler/routine_calls.h"

namespace prftest {

namespace {

using W = uint64_t;

// A record of 10 words (capacity 8) holding L mantissa words, exponent e.
struct Rec {
    std::array<W, 10> w{};
    Rec(std::initializer_list<W> mantissa = {0, 5}, int64_t e = 0) {
        w[0] = NUMREC_HEADER(w.size()) | mantissa.size();
        w[1] = static_cast<W>(e);
        std::size_t i = 2;
        for (W m : mantissa) w[i++] = m;
    }
    operator W*() { return w.data(); }
};

// Gives a scratch record back when there is one.
void release(const W* block) {
    if (block != nullptr) _2_frees();
}

}  // namespace

void addRecordCalls(RoutineCalls& c) {
    c["_9_bitleft"] = [] { Rec r; _9_bitleft(r); };
    c["_9_opsign"] = [] { Rec r, s; _9_opsign(r, s); };
    c["_9_expundsize"] = [] { Rec r; _9_expundsize(r, 1); };
    c["_9_expdslenm"] = [] { Rec r; _9_expdslenm(r, 2); };
    c["_9_expdslen1"] = [] { Rec r; _9_expdslen1(r); };
    c["_9_cmprslen"] = [] { Rec r; _9_cmprslen(r); };
    c["_9_divpeta1"] = [] { Rec r({5, 0}); _9_divpeta1(r); };
    c["_9_len2st"] = [] { Rec r; _9_len2st(r, 2, 10); };
    c["_9_len1st"] = [] { Rec r; _9_len1st(r, 1); };
    c["_9_lencnsb"] = [] { Rec r; _9_lencnsb(r, 1); };
    c["_9_lennsb"] = [] { Rec r; _9_lennsb(r, 1); };
    c["_9_lennad"] = [] { Rec r; _9_lennad(r, 1); };
    c["_9_lennadum"] = [] { Rec r; _9_lennadum(r, 1); };
    c["_9_len1sb"] = [] { Rec r; _9_len1sb(r); };
    c["_9_len1ad"] = [] { Rec r; _9_len1ad(r); };
    c["_9_blenadr"] = [] { Rec r; _9_blenadr(r); };
    c["_9_lenadr"] = [] { Rec r; _9_lenadr(r); };
    c["_9_lenlen"] = [] { Rec r; _9_lenlen(r); };
    c["_9_lenmlft"] = [] { Rec r; _9_lenmlft(r); };
    c["_9_lenlft"] = [] { Rec r; _9_lenlft(r); };
    c["_9_lenv"] = [] { Rec r; _9_lenv(r); };
    c["_9_lenmxv"] = [] { Rec r; _9_lenmxv(r); };
    c["_9_lenl"] = [] { Rec r; _9_lenl(r); };
    c["_9_signst"] = [] { Rec r; _9_signst(r, 1); };
    c["_9_signeg"] = [] { Rec r; _9_signeg(r); };
    c["_9_expsub"] = [] { Rec r; _9_expsub(r, 1); };
    c["_9_expadd"] = [] { Rec r; _9_expadd(r, 1); };
    c["_9_absexp"] = [] { Rec r({5}, -3); _9_absexp(r); };
    c["_9_exp"] = [] { Rec r; _9_exp(r); };
    c["_9_len"] = [] { Rec r; _9_len(r); };
    c["_9_blen"] = [] { Rec r; _9_blen(r); };

    c["_a_alocini"] = [] { release(_a_alocini(4, 2)); };
    c["_a_adjnumszdown"] = [] { Rec r({1, 2, 3}); _a_adjnumszdown(r, 1); };
    c["_a_adjnums"] = [] { Rec r({5}); _a_adjnums(r, -1); };
    c["_a_adjnumsdown"] = [] { Rec r({1, 2}); _a_adjnumsdown(r, 1); };
    c["_a_adjnumsup"] = [] { Rec r({5}); _a_adjnumsup(r, 1); };
    c["_a_mulpetac"] = [] { W m[4] = {5}; _a_mulpetac(m, 1, 1, 4); };
    c["_a_numtoalocadj"] = [] { Rec r({5}); release(_a_numtoalocadj(r, 0, 1)); };
    c["_a_numtocnst"] = [] { Rec r({5}); _a_numtocnst(r, 0); };  // the constant stack keeps it
    c["_a_numtomulaloc"] = [] { Rec r({5}); release(_a_numtomulaloc(r, 3)); };
    c["_a_numtoaloc"] = [] { Rec r({5}); release(_a_numtoaloc(r, 0)); };
    c["_a_numtonump"] = [] { Rec r({5}), d; _a_numtonump(d, r); };
    c["_a_numovnum"] = [] { Rec r({5}), d; _a_numovnum(d, r); };
    c["_a_numtonum"] = [] { Rec r({5}), d; _a_numtonum(d, r, 0); };
    c["_a_numtorsupaloc"] = [] { release(_a_numtorsupaloc(5, 1)); };

    c["_a_prtnum"] = [] { Rec r({5}, -1); _a_prtnum(r); };  // the text lies in released space
    c["_a_prdsize"] = [] { Rec r({5}, -1); _a_prdsize(r); };
    c["_a_numtostr"] = [] { Rec r({5}, -1); char t[24]; _a_numtostr(t, r); };
    c["_a_prtenum"] = [] { Rec r({12345}); _a_prtenum(r, 3); };
    c["_a_numtoestrn"] = [] { Rec r({12345}); char t[64]; _a_numtoestrn(t, 3, r); };
    c["_a_strnumn"] = [] { char t[16] = "+1.25e+2"; _a_strnumn(t, 8, 2); };
    c["_a_strzeron"] = [] { char t[16] = "+0.0"; _a_strzeron(t, 3); };
    c["_a_divpetan"] = [] { W a[2] = {1, 0}; _a_divpetan(a, 2, 54); };
    c["_a_bit2num"] = [] { W a[1] = {5}; _a_bit2num(a, 1, 54); };
    c["_a_pbtsize"] = [] { _a_pbtsize(3); };
    c["_a_numtoestr"] = [] { Rec r({12345}); char t[48]; _a_numtoestr(t, r); };
    c["_a_expntostr"] = [] { char t[32]; _a_expntostr(t, -1, 4); };
    c["_a_expsign"] = [] { char t[1]; _a_expsign(t, ~W{0}, ~W{0}); };
    c["_a_bintostr1"] = [] { W a[1] = {12345}; char t[24]; _a_bintostr1(a, 1, t); };
    c["_a_asign"] = [] { _a_asign(NUMREC_SIGN_BIT); };
    c["_a_gsign"] = [] { Rec r; _a_gsign(r); };
    c["_a_numbintor"] = [] { Rec r; _a_numbintor(r, 0, -5, 1); };
    c["_a_numstorvt"] = [] { Rec r; _a_numstorvt(r, 0, 0, '-'); };  // a zero rescales in any room
    c["_a_numpowtor"] = [] { Rec r; _a_numpowtor(r, 0, 3, 50); };
    c["_a_numstor"] = [] { Rec r; _a_numstor(r, 0, 5, '-'); };
    c["_a_numtor"] = [] { Rec r; _a_numtor(r, 0, 5); };
    c["_a_struztor"] = [] { Rec r; _a_struztor(r, 0, "-12.5e3"); };
    c["_a_strtor"] = [] { Rec r; _a_strtor(r, 10, "-12.5e3", 7); };
    c["_a_strdigtoexp"] = [] { Rec r({5}); _a_strdigtoexp(r, "e-3", 3); };
    c["_a_mul10n"] = [] { Rec r({5}); _a_mul10n(r, 3, 0); };
    c["_a_div10n"] = [] { Rec r({5}); _a_div10n(r, 3, 0); };
    c["_a_strdigtor"] = [] { Rec r({}); _a_strdigtor(r, "-12.5", 5); };
    c["_a_strdig"] = [] { Rec r({}); _a_strdig(r, "12.5", 4); };
    c["_a_sign"] = [] { _a_sign("-5", 2); };

    c["_b_mulsub"] = [] { Rec x({5}); _b_mulsub(x, 3, 1); };
    c["_b_muladd"] = [] { Rec x({5}); _b_muladd(x, 3, 1); };
    c["_b_mulnum2num"] = [] { Rec x({5}); _b_mulnum2num(x, 2, 3); };
    c["_b_mul2nsz"] = [] { Rec x({5}); _b_mul2nsz(x, 1); };
    c["_b_mul2np"] = [] { Rec x({5}); _b_mul2np(x, 1, 0); };
    c["_b_mul2npa"] = [] { Rec x({5}); _b_mul2npa(x, 1, 0); };
    c["_b_mul2nc"] = [] { Rec x({5}); _b_mul2nc(x, 1); };
    c["_b_mul2n"] = [] { Rec x({5}); _b_mul2n(x, 1); };
    c["_b_mulpetan"] = [] { Rec x({5}); _b_mulpetan(x, 1, x + 2, 1); };
    c["_b_mul16n"] = [] { Rec x({5}); _b_mul16n(x, 1); };
    c["_b_mul10n"] = [] { Rec x({5}); _b_mul10n(x, 1); };
    c["_b_torevnum"] = [] { Rec x({5}); _b_torevnum(x); };
    c["_b_tonegnum"] = [] { Rec x({5}); _b_tonegnum(x); };
    c["_b_toposnum"] = [] { Rec x({5}); _b_toposnum(x); };
    c["_b_sub"] = [] { Rec x({5}), y({3}); _b_sub(x, y); };
    c["_b_add"] = [] { Rec x({5}), y({3}); _b_add(x, y); };
    c["_b_addsnum"] = [] { Rec x({5}); _b_addsnum(x, -1); };
    c["_b_subnum"] = [] { Rec x({5}); _b_subnum(x, 1); };
    c["_b_addnum"] = [] { Rec x({5}); _b_addnum(x, 1); };
    c["_b_subnp"] = [] { Rec x({5}), y({3}); _b_subnp(x, y); };
    c["_b_addnp"] = [] { Rec x({5}), y({3}); _b_addnp(x, y); };
    c["_b_squaresz"] = [] { Rec x({5}); _b_squaresz(x); };
    c["_b_square"] = [] { Rec x({5}); _b_square(x); };
    c["_b_mulrndsz"] = [] { Rec x({5}), y({3}); _b_mulrndsz(x, y); };
    c["_b_mulrnd"] = [] { Rec x({5}), y({3}); _b_mulrnd(x, y, 0); };
    c["_b_mulalc"] = [] { Rec x({5}), y({3}); _b_mulalc(x, y, 0, 8); };
    c["_b_mul"] = [] { Rec x({5}), y({3}); _b_mul(x, y); };
    c["_b_mulsnum"] = [] { Rec x({5}); _b_mulsnum(x, -2); };
    c["_b_mulnum"] = [] { Rec x({5}); _b_mulnum(x, 3); };
    c["_b_muln"] = [] { W p[3] = {0, 5, 0}; _b_muln(p, 2, 3); };

    c["_b_div"] = [] { Rec x({7}), y({2}); _b_div(x, y); };
    c["_b_divrnd"] = [] { Rec x({7}), y({2}); _b_divrnd(x, y, -1); };
    c["_b_divalc"] = [] { Rec x({7}), y({2}); _b_divalc(x, y, 6, 1); };
    c["_b_divrndsz"] = [] { Rec x({7}), y({2}); _b_divrndsz(x, y); };
    c["_b_inverse"] = [] { Rec x({7}, -1); _b_inverse(x); };
    c["_b_inversez"] = [] { Rec x({7}); _b_inversez(x); };
    c["_b_divnum"] = [] { Rec x({7}); _b_divnum(x, 2); };
    c["_b_divsnum"] = [] { Rec x({7}); _b_divsnum(x, -2); };
    c["_b_div16n"] = [] { Rec x({7}); _b_div16n(x, 1); };
    c["_b_div10n"] = [] { Rec x({7}); _b_div10n(x, 3); };
    c["_b_div2n"] = [] { Rec x({7}); _b_div2n(x, 1); };
    c["_b_div2np"] = [] { Rec x({7}); _b_div2np(x, 1, -1); };
    c["_b_div2nsz"] = [] { Rec x({7}); _b_div2nsz(x, 1); };
    c["_b_divrmd"] = [] { Rec x({17}), y({5}); _b_divrmd(x, y); };
    c["_b_divrmd0"] = [] { Rec x({17}), y({5}); _b_divrmd0(x, y); };
    c["_b_divrmd1"] = [] { Rec x({3, 17}), y({5}); _b_divrmd1(x, y); };
    c["_b_reminder"] = [] { Rec x({17}), y({5}); _b_reminder(x, y); };
    c["_b_divreminder"] = [] { Rec x({17}), y({5}), q; _b_divreminder(x, q, y); };
    c["_b_divintpt"] = [] { Rec x({3 * NUMREC_PETA + 5}, -1); _b_divintpt(x); };
    c["_b_divintpt1"] = [] { Rec x({3 * NUMREC_PETA + 5}, -1); _b_divintpt1(x); };
    c["_b_divintpt0"] = [] { Rec x({0, 3 * NUMREC_PETA + 5}, -1); _b_divintpt0(x, 1); };
    c["_b_integer"] = [] { Rec x({3 * NUMREC_PETA + 5}, -1); _b_integer(x); };
    c["_b_divinteger"] = [] { Rec x({3 * NUMREC_PETA + 5}, -1), q; _b_divinteger(x, q); };

    c["_c_valid"] = [] { Rec r; _c_valid(r); };
    c["_c_zero"] = [] { Rec r; _c_zero(r); };
    c["_c_cmpnum"] = [] { Rec a, b({3}); _c_cmpnum(a, b); };
    c["_c_cmprnum"] = [] { Rec a, b({3}); _c_cmprnum(a, b); };
    c["_c_cmpmrgh"] = [] { Rec a({5}), b({3}); _c_cmpmrgh(a, b, 1); };
    c["_c_cmprgh"] = [] { Rec a({5}, 1), b({3}); _c_cmprgh(a, b); };
    c["_c_cmpabsalc"] = [] { Rec a({5}), b({3}); _c_cmpabsalc(a, b, 1); };
    c["_c_cmpabs"] = [] { Rec a({1}), b({NUMREC_PETA}, -1); _c_cmpabs(a, b); };
    c["_c_cmpexp"] = [] { Rec r({5}); _c_cmpexp(r, 1); };
    c["_c_cmpexp0"] = [] { Rec r({5}); _c_cmpexp0(r); };
    c["_c_cmpetan"] = [] { W p[1] = {5}; _c_cmpetan(p, 1, 1); };
    c["_c_cmpetabign"] = [] { W p[1] = {5}; _c_cmpetabign(p, 1, 1, _3_peta(1)); };
    c["_c_cmpdexp"] = [] { Rec a({3}), b({5}); _c_cmpdexp(a, b, 0); };
    c["_c_cmpdexp1"] = [] { Rec a({3}), b({5}); _c_cmpdexp1(a, b, 0); };
}

}  // namespace prftest
