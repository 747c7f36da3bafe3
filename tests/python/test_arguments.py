"""Every function's argument handling: anything with __index__ is a number; a
float or a str is a TypeError, a negative number a ValueError, a number
beyond the limit an OverflowError naming the argument and the limit."""
import numpy
import pytest
import q64

ARGUMENTS = {
    "isprime": ["n"],
    "factor": ["n"],
    "next_prime": ["n"],
    "prev_prime": ["n"],
    "nth_prime": ["k"],
    "pi": ["x"],
    "count_primes": ["a", "b"],
    "primes": ["a", "b"],
    "set_threads": ["n"],
}
CASES = [(name, position) for name, args in ARGUMENTS.items() for position in range(len(args))]


def limit_of(name, limits):
    return limits.get(name, 2**64 - 1)


def call(name, position, value):
    """The function with `value` as its argument at `position`, 10 elsewhere."""
    args = [10] * len(ARGUMENTS[name])
    args[position] = value
    try:
        return getattr(q64, name)(*args)
    finally:
        if name == "set_threads":
            q64.set_threads(0)


class Index:
    def __init__(self, value):
        self.value = value

    def __index__(self):
        return self.value


@pytest.mark.parametrize("name,position", CASES)
def test_wrong_arguments(name, position, limits):
    argument = ARGUMENTS[name][position]
    limit = limit_of(name, limits)
    wrong = [
        (10.0, TypeError, "float"),
        ("10", TypeError, "str"),
        (None, TypeError, "NoneType"),
        (-1, ValueError, "negative"),
        (-(2**200), ValueError, "negative"),
        (limit + 1, OverflowError, str(limit)),
        (2**128, OverflowError, str(limit)),
        (2**200, OverflowError, str(limit)),
    ]
    for value, error, text in wrong:
        with pytest.raises(error) as caught:
            call(name, position, value)
        message = str(caught.value)
        assert f"{name}() argument {argument} " in message and text in message, (value, message)


@pytest.mark.parametrize("name,position", CASES)
def test_integer_likes_are_numbers(name, position):
    expected = call(name, position, 10)
    for value in (numpy.uint64(10), numpy.int8(10), Index(10)):
        answer = call(name, position, value)
        if isinstance(expected, numpy.ndarray):
            assert answer.tolist() == expected.tolist()
        else:
            assert answer == expected, value
    assert q64.isprime(True) is False and q64.factor(True) == []


def test_numbers_without_an_answer():
    for function, value in ((q64.factor, 0), (q64.nth_prime, 0), (q64.prev_prime, 0), (q64.prev_prime, 2)):
        with pytest.raises(ValueError):
            function(value)
    assert [q64.isprime(n) for n in (0, 1, 2)] == [False, False, True]
    assert (q64.factor(1), q64.next_prime(0), q64.prev_prime(3), q64.pi(1)) == ([], 2, 2, 0)


def test_answers_at_the_limits(limits):
    for name in ("isprime", "factor", "prev_prime"):
        getattr(q64, name)(limits[name])  # answered: no error
    assert q64.count_primes(limits["count_primes"], limits["count_primes"]) in (0, 1)
    with pytest.raises(OverflowError, match=str(limits["next_prime"])):
        q64.next_prime(limits["next_prime"])
