#include "python/bindings/py_prime_array.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

#include "python/bindings/py_errors.h"
#include "python/bindings/py_library_call.h"
#include "python/bindings/py_routines.h"

namespace q64py {

namespace {

// What the listing routine's sink fills, and why it stopped it.
struct Collector {
    PrimeVector& primes;
    LibraryCall& call;
    bool refused = false;  // memory for the primes was refused
};

int collect(const uint64_t* primes, uint64_t count, void* context) {
    auto* collector = static_cast<Collector*>(context);
    try {
        collector->primes.insert(collector->primes.end(), primes, primes + count);
    } catch (const std::exception&) {  // bad_alloc, length_error: the library must not see them
        collector->refused = true;
        return 1;
    }
    return collector->call.stopRequested() ? 1 : 0;
}

}  // namespace

uint64_t primeCountBound(uint64_t a, uint64_t b) {
    constexpr double kSlack = 16;
    const double top = static_cast<double>(b);
    const double length = top - static_cast<double>(a) + 1;
    double bound = length;
    // pi(x + y) - pi(x) <= 2y / ln y for y >= 2 (Montgomery and Vaughan).
    if (length >= 8) bound = 2 * length / std::log(length);
    // pi(x) < 1.25506 x / ln x for x > 1 (Rosser and Schoenfeld).
    if (top >= 17) bound = std::min(bound, 1.25506 * top / std::log(top));
    bound += kSlack;
    return bound >= 1.8e19 ? ~uint64_t{0} : static_cast<uint64_t>(bound);
}

std::unique_ptr<PrimeVector> listPrimes(uint64_t a, uint64_t b) {
    LibraryCall call;
    auto primes = std::make_unique<PrimeVector>();
    try {
        primes->reserve(primeCountBound(a, b));
    } catch (const std::exception&) {
        // More room than can be had up front: the vector grows as it fills.
    }
    Collector collector{*primes, call};
    const int64_t result = call.run([&] { return routines.eachPrime.call(a, b, collect, &collector); });
    if (result != 0 || collector.refused)
        raise(PyExc_MemoryError, "primes(): memory for the primes of [" + std::to_string(a) + ", " +
                                     std::to_string(b) + "] was refused");
    return primes;
}

}  // namespace q64py
