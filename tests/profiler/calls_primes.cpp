// Rows of module _5_: the prime table and the prime queries, on a small table.
#include <vector>

#include "q64/m5_primequery.h"
#include "q64/m5_primetable.h"
#include "tests/profiler/routine_calls.h"

namespace prftest {

namespace {

using W = uint64_t;
constexpr W kTableWords = 1024;  // the numbers below about 280,000

// A one-block table, built on first use and kept (the queries only read it).
TableBlock* table() {
    static std::vector<W> block(kTableWords);
    static const bool built = _5_prmnew(kTableWords, block.data()) == 0;
    return built ? block.data() : nullptr;
}

// A small block for the sieve passes to cross off in.
TableBlock* target() {
    static std::vector<W> block(64);
    _5_prminit(63, block.data(), 0);
    return block.data();
}

FactorList& factors() {
    static FactorList list;
    return list;
}

}  // namespace

void addPrimeCalls(RoutineCalls& c) {
    c["_5_prmnew"] = [] { std::vector<W> b(256); _5_prmnew(256, b.data()); };
    c["_5_prminit"] = [] { std::vector<W> b(64); _5_prminit(63, b.data(), 0); };
    c["_5_prmexpd"] = [] {
        // A table of its own, whose chain takes the new block.
        static std::vector<W> head(256), tail(256);
        if (_5_prmnew(256, head.data()) == 0) _5_prmexpd(256, tail.data(), head.data());
    };
    c["_5_setflg0"] = [] { sieveWork.target = target(); _5_setflg0(); };
    c["_5_setflg1"] = [] {
        sieveWork.head = table();
        sieveWork.target = target();
        _5_setflg1();
    };
    c["_5_setflg2"] = [] {
        sieveWork.head = table();
        sieveWork.target = target();
        _5_setflg2();
    };
    c["_5_prmflg0"] = [] {
        sieveWork.target = target();
        sieveWork.lowest = 211;
        sieveWork.prime = 11;
        _5_prmflg0();
    };
    c["_5_bitscan0"] = [] {
        sieveWork.head = table();
        sieveWork.scan = 0;
        _5_bitscan0();
    };
    c["_5_postonum"] = [] { _5_postonum(5); };
    c["_5_numbpos"] = [] { _5_numbpos(221); };
    c["_5_bitval"] = [] { _5_bitval(5, table()); };
    c["_5_biton"] = [] { _5_biton(5, target()); };
    c["_5_prmtbcap"] = [] { _5_prmtbcap(10); };
    c["_5_prmtmin"] = [] { _5_prmtmin(table()); };
    c["_5_prmtqsize"] = [] { _5_prmtqsize(table()); };
    c["_5_prmtcnt"] = [] { _5_prmtcnt(table()); };
    c["_5_prmtmax"] = [] { _5_prmtmax(table()); };

    c["_5_prmnoth"] = [] { _5_prmnoth(100, table()); };
    c["_5_primetst"] = [] { _5_primetst(1009, 0, table()); };
    c["_5_primetst2"] = [] { _5_primetst2(1009, 0, table()); };
    c["_5_prmnxnum"] = [] {
        Q2Value number{1000, 0}, result{};
        _5_prmnxnum(&result, &number, table());
    };
    c["_5_prmnext"] = [] { _5_prmnext(1000, 0, table()); };
    c["_5_prmtnext"] = [] { _5_prmtnext(1000, table()); };
    c["_5_prmttnext"] = [] { _5_prmttnext(1000000, 0, table()); };
    c["_5_prmchknum"] = [] {
        _5_prmttnext(1000000, 0, table());  // leaves its candidate in the work record
        _5_prmchknum();
    };
    c["_5_prmnmnte"] = [] { _5_prmnmnte(1000, 0); };

    c["_5_prmfct"] = [] { _5_prmfct(&factors(), 360, 0, table()); };
    c["_5_prmfctnext"] = [] { _5_prmfctnext(11, table()); };
    c["_5_prmelmt"] = [] {
        _5_prmfct(&factors(), 12, 0, table());  // makes the list the one being built
        _5_prmelmt(1, 5);
    };
    c["_5_divprm"] = [] { Q2Value rest{9, 0}; _5_divprm(&rest, 3); };
    c["_5_divprm2"] = [] { Q2Value rest{8, 0}; _5_divprm2(&rest); };
    c["_5_prmfctput"] = [] {
        char text[256];
        _5_prmfct(&factors(), 360, 0, table());
        _5_prmfctput(text, &factors());
    };
    c["_5_prmfctpp"] = [] {
        char text[256];
        _5_prmfct(&factors(), 360, 0, table());
        _5_prmfctpp(text, &factors());
    };
    c["_5_cvtfctn"] = [] { W run[2] = {3, 3}; char text[32]; _5_cvtfctn(run, 2, text); };
}

}  // namespace prftest
