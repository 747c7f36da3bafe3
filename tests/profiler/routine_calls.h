// One row per listed routine: a call of it with valid arguments, or its name
// among the routines that are not built yet. The counter test runs the calls;
// the hook check expects a definition in the sources for every built routine.
// A row calls its routine directly; what it needs first it builds without
// calling that routine, and it gives back every scratch block it takes.
#pragma once

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace prftest {

using RoutineCalls = std::map<std::string, std::function<void()>>;

// The names of prfnamelist, in index order.
std::vector<std::string> listedNames();

const RoutineCalls& routineCalls();
const std::set<std::string>& notBuiltYet();

// The rows of one group of modules, added to the table.
void addWordCalls(RoutineCalls& calls);    // _0_
void addArrayCalls(RoutineCalls& calls);   // _1_ _2_ _3_ _4_
void addRecordCalls(RoutineCalls& calls);  // _9_ _a_ _b_ _c_
void addPrimeCalls(RoutineCalls& calls);   // _5_

}  // namespace prftest
