// The extension module q64._q64: the package's functions over the library's
// prime routines (py_routines.h names them), with their docstrings. The one
// file that includes pybind11 (each file that does takes seconds to compile);
// the others use the Python C API and raise through PythonError.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include "python/bindings/py_arguments.h"
#include "python/bindings/py_docstrings.h"
#include "python/bindings/py_errors.h"
#include "python/bindings/py_library_call.h"
#include "python/bindings/py_limits.h"
#include "python/bindings/py_prime_array.h"
#include "python/bindings/py_routines.h"
#include "q64/m5_primetable.h"

namespace q64py {

namespace py = pybind11;

namespace {

constexpr uint64_t kAllOnes = ~uint64_t{0};

bool isNone(Q2Value v) { return v.lo == kAllOnes && v.hi == kAllOnes; }
bool below(Q2Value v, uint64_t n) { return v.hi == 0 && v.lo < n; }
py::int_ integer(Q2Value v) { return py::reinterpret_steal<py::int_>(toPython(v)); }

// A failed count or list that no signal stopped: the library's memory was refused.
[[noreturn]] void refused(const char* function) {
    raise(PyExc_MemoryError, std::string(function) + "(): the memory the library needs was refused");
}

bool isPrime(py::handle n, bool proof) {
    const Q2Value v = readNumber(n.ptr(), "isprime", "n", limits().isprime);
    if (below(v, 2)) return false;
    // Below 2^64 and without a proof the test takes microseconds; a proof
    // can take milliseconds, and the GIL goes to other threads meanwhile.
    const auto test = proof ? routines.primeTest.call : routines.probablePrimeTest;
    const auto answerOf = [&] { return test(v.lo, v.hi); };
    const int64_t answer = !proof || v.hi == 0 ? LibraryCall::runShort(answerOf) : LibraryCall().run(answerOf);
    if (answer < 0) raise(PyExc_RuntimeError, "isprime(): the library could not decide " + decimal(v));
    return answer == 0;
}

py::list factor(py::handle n) {
    const Q2Value v = readNumber(n.ptr(), "factor", "n", limits().factor);
    if (below(v, 1)) raise(PyExc_ValueError, "factor() argument n must be positive: 0 has no factorisation");
    py::list factors;
    if (below(v, 2)) return factors;
    FactorList list;
    LibraryCall call;
    if (call.run([&] { return routines.factorise.call(&list, v.lo, v.hi); }) < 0)
        raise(PyExc_RuntimeError, "factor(): the library could not factorise " + decimal(v));
    const uint64_t count = factorCount(&list);
    for (uint64_t i = 0; i < count; ++i) factors.append(py::int_(list.word[i]));
    if (cofactorCount(&list) == 1) factors.append(integer(Q2Value{list.word[count], list.word[count + 1]}));
    return factors;
}

py::int_ nextPrime(py::handle n) {
    const Limit& limit = limits().nextPrime;
    const Q2Value v = readNumber(n.ptr(), "next_prime", "n", limit);
    LibraryCall call;
    const Q2Value p = call.run([&] { return routines.nextPrime.call(v.lo, v.hi); });
    if (isNone(p))
        raise(PyExc_OverflowError, "next_prime(): no prime above " + decimal(v) + " is at most the limit " +
                                       decimal(limit.value) + " (" + limit.text + ")");
    return integer(p);
}

py::int_ prevPrime(py::handle n) {
    const Q2Value v = readNumber(n.ptr(), "prev_prime", "n", limits().prevPrime);
    if (below(v, 3)) raise(PyExc_ValueError, "prev_prime() argument n must be at least 3: no prime lies below 2");
    LibraryCall call;
    const Q2Value p = call.run([&] { return routines.prevPrime.call(v.lo, v.hi); });
    if (isNone(p)) raise(PyExc_RuntimeError, "prev_prime(): the library found no prime below " + decimal(v));
    return integer(p);
}

uint64_t nthPrime(py::handle k) {
    const Q2Value v = readNumber(k.ptr(), "nth_prime", "k", limits().nthPrime);
    if (below(v, 1)) raise(PyExc_ValueError, "nth_prime() argument k must be at least 1: 2 is the first prime");
    LibraryCall call;
    const uint64_t p = call.run([&] { return routines.nthPrime.call(v.lo); });
    if (p == kAllOnes) refused("nth_prime");
    return p;
}

uint64_t primePi(py::handle x) {
    const Q2Value v = readNumber(x.ptr(), "pi", "x", limits().pi);
    LibraryCall call;
    const uint64_t count = call.run([&] { return routines.primePi.call(v.lo); });
    if (count == kAllOnes) refused("pi");
    return count;
}

uint64_t countPrimes(py::handle a, py::handle b) {
    const Q2Value from = readNumber(a.ptr(), "count_primes", "a", limits().countPrimes);
    const Q2Value to = readNumber(b.ptr(), "count_primes", "b", limits().countPrimes);
    if (from.lo > to.lo) return 0;
    LibraryCall call;
    const uint64_t count = call.run([&] { return routines.countPrimes.call(from.lo, to.lo); });
    if (count == kAllOnes) refused("count_primes");
    return count;
}

// The array owns the vector the primes were gathered in: no copy.
py::array_t<uint64_t> primes(py::handle a, py::handle b) {
    const Q2Value from = readNumber(a.ptr(), "primes", "a", limits().primes);
    const Q2Value to = readNumber(b.ptr(), "primes", "b", limits().primes);
    if (from.lo > to.lo) return py::array_t<uint64_t>(0);
    PrimeVector* gathered = listPrimes(from.lo, to.lo).release();
    py::capsule owner(gathered, [](void* v) { delete static_cast<PrimeVector*>(v); });
    return py::array_t<uint64_t>(static_cast<py::ssize_t>(gathered->size()), gathered->data(), owner);
}

uint64_t setThreads(py::handle n) {
    const Q2Value v = readNumber(n.ptr(), "set_threads", "n", below2to64());
    LibraryCall call;
    return call.run([&] { return _5_prmthreads(v.lo); });
}

py::dict limitsByName() {
    const Limits& l = limits();
    py::dict byName;
    const std::pair<const char*, const Limit*> all[] = {
        {"isprime", &l.isprime},      {"factor", &l.factor},       {"next_prime", &l.nextPrime},
        {"prev_prime", &l.prevPrime}, {"nth_prime", &l.nthPrime},  {"pi", &l.pi},
        {"count_primes", &l.countPrimes}, {"primes", &l.primes}};
    for (const auto& [name, limit] : all) byName[name] = integer(limit->value);
    return byName;
}

}  // namespace

}  // namespace q64py

PYBIND11_MODULE(_q64, m) {
    using namespace q64py;
    py::register_exception_translator([](std::exception_ptr raised) {
        try {
            if (raised) std::rethrow_exception(raised);
        } catch (const PythonError&) {
            // The exception is set in the interpreter already.
        }
    });
    py::options options;
    options.disable_function_signatures();  // the docstrings give them
    m.doc() = docs::module;
    m.attr("__version__") = Q64_VERSION;
    m.def("isprime", &isPrime, py::arg("n"), py::arg("proof") = true, docs::isprime);
    m.def("factor", &factor, py::arg("n"), docs::factor);
    m.def("next_prime", &nextPrime, py::arg("n"), docs::nextPrime);
    m.def("prev_prime", &prevPrime, py::arg("n"), docs::prevPrime);
    m.def("nth_prime", &nthPrime, py::arg("k"), docs::nthPrime);
    m.def("pi", &primePi, py::arg("x"), docs::pi);
    m.def("count_primes", &countPrimes, py::arg("a"), py::arg("b"), docs::countPrimes);
    m.def("primes", &primes, py::arg("a"), py::arg("b"), docs::primes);
    m.def("set_threads", &setThreads, py::arg("n"), docs::setThreads);
    m.def("_limits", &limitsByName, "_limits() -> dict[str, int]\n\nThe largest argument each function takes.");
}
