"""Prime numbers up to 128 bits, from the q64 library.

The functions live in the extension module q64._q64 (built from the
library's sources by `pip install --no-build-isolation .`); see their
docstrings, e.g. help(q64.factor).
"""
from ._q64 import (
    __doc__,
    __version__,
    count_primes,
    factor,
    isprime,
    next_prime,
    nth_prime,
    pi,
    prev_prime,
    primes,
    set_threads,
)

__all__ = [
    "count_primes",
    "factor",
    "isprime",
    "next_prime",
    "nth_prime",
    "pi",
    "prev_prime",
    "primes",
    "set_threads",
]
