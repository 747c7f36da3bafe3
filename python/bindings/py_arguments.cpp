#include "python/bindings/py_arguments.h"

#include "python/bindings/py_errors.h"
#include "q64/m0_utilities.h"

namespace q64py {

namespace {

// A Python reference released at the end of its scope.
struct Owned {
    PyObject* object;
    explicit Owned(PyObject* o) : object(o) {}
    ~Owned() { Py_XDECREF(object); }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
};

// The two words of a non-negative integer; false when it needs more than
// 128 bits. Read as 16 little-endian bytes in one call: shifting the Python
// integer by 64 made a 128-bit argument cost twice what a 64-bit one does.
bool words(PyObject* index, Q2Value& value) {
    unsigned char bytes[16];
#if PY_VERSION_HEX >= 0x030D0000
    const Py_ssize_t needed = PyLong_AsNativeBytes(
        index, bytes, sizeof bytes, Py_ASNATIVEBYTES_LITTLE_ENDIAN | Py_ASNATIVEBYTES_UNSIGNED_BUFFER);
    if (needed < 0) raiseSet();
    if (needed > static_cast<Py_ssize_t>(sizeof bytes)) return false;
#else
    if (_PyLong_AsByteArray(reinterpret_cast<PyLongObject*>(index), bytes, sizeof bytes, 1, 0) < 0) {
        if (!PyErr_ExceptionMatches(PyExc_OverflowError)) raiseSet();
        PyErr_Clear();
        return false;
    }
#endif
    value.lo = value.hi = 0;
    for (int i = 7; i >= 0; --i) {
        value.lo = value.lo << 8 | bytes[i];
        value.hi = value.hi << 8 | bytes[8 + i];
    }
    return true;
}

}  // namespace

void raiseBeyond(const char* function, const char* name, const Limit& limit) {
    std::string text = decimal(limit.value);
    if (!limit.text.empty()) text += " (" + limit.text + ")";
    raise(PyExc_OverflowError, std::string(function) + "() argument " + name + " exceeds the limit " + text);
}

Q2Value readNumber(PyObject* object, const char* function, const char* name, const Limit& limit) {
    Owned index(PyNumber_Index(object));
    if (index.object == nullptr) {
        PyErr_Clear();
        raise(PyExc_TypeError, std::string(function) + "() argument " + name + " must be an integer, not " +
                                   Py_TYPE(object)->tp_name);
    }
    int overflow = 0;
    const long long small = PyLong_AsLongLongAndOverflow(index.object, &overflow);
    if (small == -1 && PyErr_Occurred()) raiseSet();
    if (overflow < 0 || (overflow == 0 && small < 0))
        raise(PyExc_ValueError, std::string(function) + "() argument " + name + " must not be negative");
    Q2Value value{static_cast<uint64_t>(small), 0};
    if (overflow > 0 && !words(index.object, value)) raiseBeyond(function, name, limit);
    if (!lessOrEqual(value, limit.value)) raiseBeyond(function, name, limit);
    return value;
}

PyObject* toPython(Q2Value value) {
    if (value.hi == 0) return PyLong_FromUnsignedLongLong(value.lo);
    Owned low(PyLong_FromUnsignedLongLong(value.lo));
    Owned high(PyLong_FromUnsignedLongLong(value.hi));
    Owned shift(PyLong_FromLong(64));
    if (low.object == nullptr || high.object == nullptr || shift.object == nullptr) raiseSet();
    Owned shifted(PyNumber_Lshift(high.object, shift.object));
    if (shifted.object == nullptr) raiseSet();
    PyObject* whole = PyNumber_Or(shifted.object, low.object);
    if (whole == nullptr) raiseSet();
    return whole;
}

std::string decimal(Q2Value value) {
    char digits[40];
    return std::string(digits, _0_numq2tostr(digits, value.lo, value.hi));
}

}  // namespace q64py
