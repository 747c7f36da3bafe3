#include "python/bindings/py_limits.h"

#include "python/bindings/py_routines.h"

namespace q64py {

const Limits& limits() {
    static const Limits fixed{routines.primeTest.reach(),   routines.factorise.reach(),  routines.nextPrime.reach(),
                              routines.prevPrime.reach(),   routines.nthPrime.reach(),   routines.primePi.reach(),
                              routines.countPrimes.reach(), routines.eachPrime.reach()};
    return fixed;
}

}  // namespace q64py
