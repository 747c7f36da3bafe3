#include "tests/profiler/routine_calls.h"

#include "profiler/profiler_state.h"

#include <cstring>

#include "q64/profiler.h"

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
    };
    return names;
}

}  // namespace prftest
