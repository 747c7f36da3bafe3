// Python exceptions on their way out through C++: the code below the module
// sets the exception in the interpreter and throws PythonError; the module
// (py_module.cpp) lets the exception that is set through to Python.
#pragma once

#include <Python.h>

#include <exception>
#include <string>

namespace q64py {

struct PythonError : std::exception {
    const char* what() const noexcept override { return "a Python exception is set"; }
};

// Sets the Python exception `type` with `message` and throws PythonError.
[[noreturn]] inline void raise(PyObject* type, const std::string& message) {
    PyErr_SetString(type, message.c_str());
    throw PythonError();
}

// Throws PythonError for the exception that a Python C API call has set.
[[noreturn]] inline void raiseSet() { throw PythonError(); }

}  // namespace q64py
