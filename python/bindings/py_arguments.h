// Python integers in and out of the library's numbers: the arguments of every
// function of the package, read with the errors the package promises, and the
// answers as Python integers.
#pragma once

#include <pybind11/pybind11.h>

#include <cstdint>
#include <string>

#include "q64/base.h"

namespace q64py {

namespace py = pybind11;

// The largest value an argument may take, and how the error message names it.
struct Limit {
    Q2Value value;
    std::string text;  // e.g. "2**128 - 1"
};

// The limits of the library's full reach.
Limit below2to128();
Limit below2to64();

// Reads the argument `name` of `function` (for the messages): any object with
// __index__. Raises TypeError for anything else (a float, a string),
// ValueError for a negative number, OverflowError above `limit`.
Q2Value readNumber(py::handle object, const char* function, const char* name, const Limit& limit);

// Raises OverflowError: the argument `name` of `function` exceeds `limit`.
[[noreturn]] void raiseBeyond(const char* function, const char* name, const Limit& limit);
// Raises the Python exception `type` with `message`.
[[noreturn]] void raise(PyObject* type, const std::string& message);

// A number as a Python integer.
py::int_ toPython(Q2Value value);
// The decimal digits of a number.
std::string decimal(Q2Value value);

inline bool lessOrEqual(Q2Value a, Q2Value b) { return a.hi < b.hi || (a.hi == b.hi && a.lo <= b.lo); }

}  // namespace q64py
