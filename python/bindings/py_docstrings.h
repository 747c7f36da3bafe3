// The docstrings of the package's functions; their examples run as doctests
// (tests/python/).
#pragma once

namespace q64py::docs {

inline constexpr const char* module = R"(Prime numbers up to 128 bits, from the q64 library.

Functions: isprime, factor, next_prime, prev_prime, nth_prime, pi,
count_primes, primes, set_threads.

Arguments are Python integers: anything with __index__ (int, bool,
numpy.uint64, ...). A float or a str raises TypeError, a negative number
ValueError, a number beyond the function's limit OverflowError, naming the
argument and the limit.

Calls release the GIL and run one at a time: the library keeps its work in
static records and is not reentrant. Long counts and lists stop with
KeyboardInterrupt at Ctrl-C, between the segments they sieve.

>>> import q64
>>> q64.factor(360)
[2, 2, 2, 3, 3, 5]
)";

inline constexpr const char* isprime = R"(isprime(n: SupportsIndex, proof: bool = True) -> bool

Whether n is prime; 0 and 1 are not. Below 2**64 the answer is exact. From
2**64 on, "prime" comes with a proof the library has checked (about a
millisecond for a 128-bit prime); with proof=False it is Baillie-PSW's
"probable prime" instead (microseconds; no composite is known to pass it,
but none is excluded by proof). "Not prime" always has a witness.

>>> isprime(97), isprime(91), isprime(0), isprime(1)
(True, False, False, False)
>>> isprime(2**127 - 1), isprime(2**127 - 1, proof=False)
(True, True)
)";

inline constexpr const char* factor = R"(factor(n: SupportsIndex) -> list[int]

The prime factors of n in ascending order, each as often as it divides n;
factor(1) is the empty list. Raises ValueError for 0.

>>> factor(360)
[2, 2, 2, 3, 3, 5]
>>> factor(1), factor(97)
([], [97])
>>> factor(4_294_967_297)
[641, 6700417]
)";

inline constexpr const char* nextPrime = R"(next_prime(n: SupportsIndex) -> int

The smallest prime above n. Raises OverflowError when it would exceed the
function's limit.

>>> next_prime(0), next_prime(2), next_prime(100)
(2, 3, 101)
>>> next_prime(1_000_000_000_000)
1000000000039
)";

inline constexpr const char* prevPrime = R"(prev_prime(n: SupportsIndex) -> int

The largest prime below n. Raises ValueError for n <= 2 (no prime lies
below 2).

>>> prev_prime(3), prev_prime(100)
(2, 97)
>>> prev_prime(1_000_000_000_039)
999999999989
)";

inline constexpr const char* nthPrime = R"(nth_prime(k: SupportsIndex) -> int

The k-th prime, 2 being the first. Raises ValueError for k = 0.

>>> nth_prime(1), nth_prime(1000)
(2, 7919)
)";

inline constexpr const char* pi = R"(pi(x: SupportsIndex) -> int

The number of primes p <= x.

>>> pi(10), pi(1_000_000)
(4, 78498)
)";

inline constexpr const char* countPrimes = R"(count_primes(a: SupportsIndex, b: SupportsIndex) -> int

The number of primes p with a <= p <= b; 0 when a > b.

>>> count_primes(10, 30), count_primes(0, 10), count_primes(30, 10)
(6, 4, 0)
)";

inline constexpr const char* primes = R"(primes(a: SupportsIndex, b: SupportsIndex) -> numpy.ndarray

The primes p with a <= p <= b in ascending order, as a NumPy array of
uint64; empty when a > b.

>>> primes(10, 30)
array([11, 13, 17, 19, 23, 29], dtype=uint64)
>>> len(primes(0, 1_000_000))
78498
)";

inline constexpr const char* setThreads = R"(set_threads(n: SupportsIndex) -> int

Caps the threads of every later long run (sieving, counting) at n, as the
command line's --threads does; 0 lifts the cap (every hardware thread the
process may use). Returns how many threads the next run will use. The
answers never depend on it.

>>> set_threads(1)
1
>>> set_threads(0) >= 1
True
)";

}  // namespace q64py::docs
