"""The answers against sympy on random inputs inside each function's reach,
and against each other (pi, nth_prime, count_primes and primes)."""
import numpy
import pytest
import q64
import sympy
from conftest import random_numbers

# What sympy checks in reasonable time: its primality test everywhere, its
# factorisation and prime counting on smaller numbers; and how far pi(x) is
# cheap enough to check against (it takes seconds near 2^64).
SYMPY_FACTOR_LIMIT = 2**64
SYMPY_PI_LIMIT = 10**7
CHEAP_PI_LIMIT = 10**12


def test_isprime_and_factor_against_sympy(rng, limits):
    for n in random_numbers(rng, limits["isprime"]):
        assert q64.isprime(n) == sympy.isprime(n), n
        assert q64.isprime(n, proof=False) == q64.isprime(n), n
    # Strong pseudoprimes to many bases above 2^64 fail Baillie-PSW's Lucas half.
    for n in (318665857834031151167461, 3317044064679887385961981, (2**61 - 1) * (2**67 - 1)):
        assert not q64.isprime(n, proof=False) and not q64.isprime(n), n
    for n in random_numbers(rng, min(limits["factor"], SYMPY_FACTOR_LIMIT), per_size=1):
        expected = sorted(sympy.factorint(n, multiple=True))
        assert q64.factor(n) == expected, n


def random_prime(rng, bits):
    return sympy.randprime(1 << (bits - 1), 1 << bits) if bits > 1 else 2


def test_factor_of_products_of_random_primes(rng, limits):
    """Products of primes of random sizes (hard cases: two primes of half the
    size, a prime squared, a prime above 2^64) factor into those primes."""
    limit = limits["factor"]
    for _ in range(40):
        factors = []
        product = 1
        while True:
            room = (limit // product).bit_length() - 1
            if room < 2:
                break
            p = random_prime(rng, rng.randrange(2, min(room, limit.bit_length() // 2 + 1) + 1))
            factors.append(p)
            product *= p
            if rng.random() < 0.3:
                break
        assert q64.factor(product) == sorted(factors), product
        assert q64.isprime(product) == (len(factors) == 1), product


def test_next_and_previous_primes_against_sympy(rng, limits):
    for n in random_numbers(rng, limits["next_prime"] // 2, per_size=1):
        assert q64.next_prime(n) == sympy.nextprime(n), n
        if n > 2:
            assert q64.prev_prime(n) == sympy.prevprime(n), n


def test_pi_and_nth_prime_agree(rng, limits):
    for x in random_numbers(rng, min(limits["pi"], SYMPY_PI_LIMIT), per_size=1):
        assert q64.pi(x) == sympy.primepi(x), x
    for k in random_numbers(rng, min(limits["nth_prime"], CHEAP_PI_LIMIT // 100), per_size=1):
        p = q64.nth_prime(k)
        assert q64.isprime(p), k
        if p <= min(limits["pi"], CHEAP_PI_LIMIT):
            assert (q64.pi(p), q64.pi(p - 1)) == (k, k - 1), k


def test_intervals_against_sympy(rng, limits):
    top = limits["primes"]
    for width in (0, 1, 2, 10, 1000, 100_000):
        starts = [0, 1, 2, 3] + [rng.randrange(top - width) for _ in range(3 if width <= 1000 else 0)]
        for a in starts:
            b = a + width
            listed = q64.primes(a, b)
            assert listed.tolist() == list(sympy.primerange(a, b + 1)), (a, b)
            assert q64.count_primes(a, b) == len(listed), (a, b)
            if b <= min(limits["pi"], CHEAP_PI_LIMIT):
                assert q64.count_primes(a, b) == q64.pi(b) - (q64.pi(a - 1) if a else 0), (a, b)


def test_primes_array_type():
    for a, b in ((10, 30), (24, 28), (30, 10)):
        listed = q64.primes(a, b)
        assert isinstance(listed, numpy.ndarray)
        assert listed.dtype == numpy.uint64
        assert listed.ndim == 1 and listed.flags.c_contiguous and listed.flags.writeable
    assert q64.primes(24, 28).size == 0 and q64.primes(30, 10).size == 0
    assert q64.count_primes(30, 10) == 0


@pytest.mark.parametrize("point", ["start", "end"])
def test_interval_ends_of_the_reach(point, limits):
    """The last numbers each interval function takes are answered."""
    top = limits["primes"]
    a, b = (0, 100) if point == "start" else (top - 1000, top)
    listed = q64.primes(a, b).tolist()
    assert listed == [n for n in range(a, b + 1) if sympy.isprime(n)]
    assert q64.count_primes(a, b) == len(listed)
