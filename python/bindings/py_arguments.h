// Python integers in and out of the library's numbers: the arguments of every
// function of the package, read with the errors the package promises, and the
// answers as Python integers. With the GIL held; errors are raised as
// PythonError (py_errors.h).
#pragma once

#include <Python.h>

#include <cstdint>
#include <string>

#include "python/bindings/py_limits.h"
#include "q64/base.h"

namespace q64py {

// Reads the argument `name` of `function` (for the messages): any object with
// __index__. Raises TypeError for anything else (a float, a string),
// ValueError for a negative number, OverflowError above `limit`.
Q2Value readNumber(PyObject* object, const char* function, const char* name, const Limit& limit);

// Raises OverflowError: the argument `name` of `function` exceeds `limit`.
[[noreturn]] void raiseBeyond(const char* function, const char* name, const Limit& limit);

// A number as a new Python integer.
PyObject* toPython(Q2Value value);
// The decimal digits of a number.
std::string decimal(Q2Value value);

inline bool lessOrEqual(Q2Value a, Q2Value b) { return a.hi < b.hi || (a.hi == b.hi && a.lo <= b.lo); }

}  // namespace q64py
