#include "python/bindings/py_arguments.h"

#include "q64/m0_utilities.h"

namespace q64py {

namespace {

constexpr uint64_t kAllOnes = ~uint64_t{0};

// The object's integer value (a new reference), or a TypeError naming the
// argument.
py::object indexOf(py::handle object, const char* function, const char* name) {
    PyObject* index = PyNumber_Index(object.ptr());
    if (index == nullptr) {
        PyErr_Clear();
        raise(PyExc_TypeError, std::string(function) + "() argument " + name + " must be an integer, not " +
                                   Py_TYPE(object.ptr())->tp_name);
    }
    return py::reinterpret_steal<py::object>(index);
}

// The two words of a non-negative integer; false when it needs more than 128 bits.
bool words(const py::object& index, Q2Value& value) {
    value.lo = PyLong_AsUnsignedLongLongMask(index.ptr());
    py::object high = py::reinterpret_steal<py::object>(PyNumber_Rshift(index.ptr(), py::int_(64).ptr()));
    if (!high) throw py::error_already_set();
    value.hi = PyLong_AsUnsignedLongLong(high.ptr());
    if (value.hi == kAllOnes && PyErr_Occurred()) {
        PyErr_Clear();
        return false;
    }
    return true;
}

}  // namespace

Limit below2to128() { return {Q2Value{kAllOnes, kAllOnes}, "2**128 - 1"}; }
Limit below2to64() { return {Q2Value{kAllOnes, 0}, "2**64 - 1"}; }

void raise(PyObject* type, const std::string& message) {
    PyErr_SetString(type, message.c_str());
    throw py::error_already_set();
}

void raiseBeyond(const char* function, const char* name, const Limit& limit) {
    std::string text = decimal(limit.value);
    if (!limit.text.empty()) text += " (" + limit.text + ")";
    raise(PyExc_OverflowError, std::string(function) + "() argument " + name + " exceeds the limit " + text);
}

Q2Value readNumber(py::handle object, const char* function, const char* name, const Limit& limit) {
    py::object index = indexOf(object, function, name);
    int overflow = 0;
    const long long small = PyLong_AsLongLongAndOverflow(index.ptr(), &overflow);
    if (small == -1 && PyErr_Occurred()) throw py::error_already_set();
    if (overflow < 0 || (overflow == 0 && small < 0))
        raise(PyExc_ValueError, std::string(function) + "() argument " + name + " must not be negative");
    Q2Value value{static_cast<uint64_t>(small), 0};
    if (overflow > 0 && !words(index, value)) raiseBeyond(function, name, limit);
    if (!lessOrEqual(value, limit.value)) raiseBeyond(function, name, limit);
    return value;
}

py::int_ toPython(Q2Value value) {
    auto low = py::reinterpret_steal<py::int_>(PyLong_FromUnsignedLongLong(value.lo));
    if (value.hi == 0) return low;
    auto high = py::reinterpret_steal<py::int_>(PyLong_FromUnsignedLongLong(value.hi));
    auto shifted = py::reinterpret_steal<py::object>(PyNumber_Lshift(high.ptr(), py::int_(64).ptr()));
    return py::reinterpret_steal<py::int_>(PyNumber_Or(shifted.ptr(), low.ptr()));
}

std::string decimal(Q2Value value) {
    char digits[40];
    return std::string(digits, _0_numq2tostr(digits, value.lo, value.hi));
}

}  // namespace q64py
