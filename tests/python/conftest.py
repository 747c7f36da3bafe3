"""What the tests of the q64 package share: the reach of each function and
seeded random numbers inside it."""
import random

import pytest
import q64
import q64._q64

SEEDS = [1, 2, 3]


@pytest.fixture(scope="session")
def limits():
    """The largest argument each function takes (its routine's reach)."""
    return q64._q64._limits()


def random_numbers(rng, limit, per_size=3):
    """Random numbers from 2 to `limit`, `per_size` of every bit length, with
    long runs of zero and one bits as well as uniform ones."""
    numbers = []
    for bits in range(2, limit.bit_length() + 1):
        for _ in range(per_size):
            n = rng.getrandbits(bits) | (1 << (bits - 1))
            if rng.random() < 0.3:
                run = rng.randrange(bits)
                n |= (1 << run) - 1
            numbers.append(max(2, min(n, limit)))
    return numbers


@pytest.fixture(params=SEEDS, ids=lambda seed: f"seed{seed}")
def rng(request):
    """A random source with a fixed seed (in the test's name)."""
    return random.Random(request.param)
