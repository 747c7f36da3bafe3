#include "python/bindings/py_limits.h"

#include <optional>

#include "python/bindings/py_errors.h"
#include "python/bindings/py_library_call.h"
#include "python/bindings/py_routines.h"

namespace q64py {

const Limits& limits() {
    static std::optional<Limits> cached;  // guarded by the GIL
    if (cached) return *cached;
    LibraryCall call;
    std::optional<Limits> fetched = call.run([]() -> std::optional<Limits> {
        if (!routines.ready()) return std::nullopt;
        return Limits{routines.primeTest.reach(),   routines.factorise.reach(),  routines.nextPrime.reach(),
                      routines.prevPrime.reach(),   routines.nthPrime.reach(),   routines.primePi.reach(),
                      routines.countPrimes.reach(), routines.eachPrime.reach()};
    });
    if (!fetched) raise(PyExc_MemoryError, "q64: the memory the library needs was refused");
    if (!cached) cached = std::move(fetched);
    return *cached;
}

}  // namespace q64py
