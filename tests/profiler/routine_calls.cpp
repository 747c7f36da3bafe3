#include "tests/profiler/routine_calls.h"

#include <cstring>

#include "profiler/profiler.h"

namespace prftest {

std::vector<std::string> listedNames() {
    std::vector<std::string> names;
    const char* p = prfnamelist + 1;
    for (; static_cast<unsigned char>(*p) != 0xFF; p += std::strlen(p) + 1) names.emplace_back(p);
    return names;
}

const RoutineCalls& routineCalls() {
    static const RoutineCalls calls = [] {
        RoutineCalls c;
        addWordCalls(c);
        addArrayCalls(c);
        addRecordCalls(c);
        addPrimeCalls(c);
        return c;
    }();
    return calls;
}

// Listed routines that no module defines yet; each moves to a row when its
// module is built.
const std::set<std::string>& notBuiltYet() {
    static const std::set<std::string> names = {
        "_b_div2np", "_b_div2nsz", "_b_div2n", "_b_div16n", "_b_div10n", "_b_divrndsz",
        "_b_divrnd", "_b_divalc", "_b_div", "_b_divreminder", "_b_reminder", "_b_divrmd",
        "_b_divrmd0", "_b_divrmd1", "_b_divinteger", "_b_integer", "_b_divintpt", "_b_divintpt1",
        "_b_divintpt0", "_b_divsnum", "_b_divnum", "_b_inversez", "_b_inverse", "_c_cmpdexp",
        "_c_cmpdexp1", "_c_valid", "_c_zero", "_c_cmpexp0", "_c_cmpexp", "_c_cmpetabign",
        "_c_cmpetan", "_c_cmprnum", "_c_cmpabs", "_c_cmpabsalc", "_c_cmprgh", "_c_cmpnum",
        "_c_cmpmrgh",
    };
    return names;
}

}  // namespace prftest
