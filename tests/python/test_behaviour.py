"""How the package behaves in Python: calls from many threads, the GIL
released during a call, Ctrl-C in a long call, the thread cap, the version
and the docstrings' examples."""
import doctest
import os
import pathlib
import subprocess
import sys
import threading
import time

import pytest
import q64
import q64._q64

ROOT = pathlib.Path(__file__).resolve().parents[2]
# Long calls: seconds at least (or at the end of a shorter reach), their
# memory bounded should they run to the end.
LONG_CALL_TOP = {"primes": 3 * 10**9, "count_primes": 10**11, "pi": 2**64 - 1}


def mixed_calls(seed, limits):
    top = min(limits["primes"], 10**7)
    n = seed * 7919 % limits["factor"]
    return (
        q64.factor(n + 2),
        q64.isprime(n + 1),
        q64.isprime((n % 2**60) << 64 | 1, proof=False),  # keeps the GIL when the lock is free
        q64.next_prime(n),
        q64.nth_prime(seed % limits["nth_prime"] + 1),
        q64.primes(top - 20_000 * seed, top).tolist(),
        q64.count_primes(seed, top),
    )


def test_threads_get_the_answers_of_one(limits):
    """The library keeps its work in static records: calls from several
    threads at once must still give the answers of calls one after another."""
    seeds = range(1, 25)
    expected = {seed: mixed_calls(seed, limits) for seed in seeds}
    answers = {}

    def worker(part):
        for seed in part:
            answers[seed] = mixed_calls(seed, limits)

    threads = [threading.Thread(target=worker, args=(seeds[i::4],)) for i in range(4)]
    for t in threads:
        t.start()
    for t in threads:
        t.join()
    assert answers == expected


def test_the_gil_is_released_during_a_call(limits):
    """A Python thread runs while another thread's call is in the library.
    The call is timed first; the other thread's time stamps must fall into the
    middle half of the call (with the GIL held they could only fall before it
    or in the switch interval after it)."""
    top = min(limits["primes"], 10**9)
    started = time.perf_counter()
    q64.primes(0, top)
    if time.perf_counter() - started < 0.03:
        pytest.skip("no call long enough at this reach")
    stamps, done = [], threading.Event()

    def stamp():
        while not done.is_set():
            stamps.append(time.perf_counter())

    interval = sys.getswitchinterval()
    sys.setswitchinterval(0.001)
    ticker = threading.Thread(target=stamp)
    try:
        ticker.start()
        begin = time.perf_counter()
        q64.primes(0, top)
        end = time.perf_counter()
    finally:
        done.set()
        ticker.join()
        sys.setswitchinterval(interval)
    quarter = (end - begin) / 4
    assert any(begin + quarter < s < end - quarter for s in stamps)


INTERRUPTED_CHILD = """
import os, signal, sys, threading, q64, q64._q64
function = getattr(q64, sys.argv[1])
top = min(q64._q64._limits()[sys.argv[1]], int(sys.argv[2]))
arguments = (top,) if sys.argv[1] == "pi" else (0, top)
inside = []

def on_sigint(signum, frame):
    try:
        q64.isprime(2)
    except RuntimeError:  # refused: the handler runs inside a q64 call
        inside.append(True)
        raise KeyboardInterrupt
    inside.append(False)

signal.signal(signal.SIGINT, on_sigint)
done = threading.Event()

def send():
    while not done.wait(0.05):
        os.kill(os.getpid(), signal.SIGINT)

threading.Thread(target=send, daemon=True).start()
try:
    while True:
        function(*arguments)
except KeyboardInterrupt:  # raised by the handler inside a call only
    done.set()
print(True in inside, q64.isprime(97), q64.count_primes(0, 100))
"""


@pytest.mark.parametrize("name", sorted(LONG_CALL_TOP))
def test_ctrl_c_stops_a_long_call(name, limits):
    """SIGINT every 50 ms; the handler raises KeyboardInterrupt only when it
    runs inside a call (between the segments of the run), where a call to
    the package is refused. The call must stop with it, and the package must
    work afterwards."""
    if limits[name] < LONG_CALL_TOP[name]:
        started = time.perf_counter()
        getattr(q64, name)(*((limits[name],) if name == "pi" else (0, limits[name])))
        if time.perf_counter() - started < 0.03:
            pytest.skip(f"{name} reaches {limits[name]} only: no call is long")
    child = subprocess.run([sys.executable, "-c", INTERRUPTED_CHILD, name, str(LONG_CALL_TOP[name])],
                           capture_output=True, text=True, timeout=120)
    assert child.returncode == 0, child.stderr
    assert child.stdout.split() == ["True", "True", "25"], child.stderr


def test_set_threads_caps_and_answers_do_not_change(limits):
    top = min(limits["primes"], 10**7)
    try:
        assert q64.set_threads(1) == 1
        one = (q64.primes(top - 10**6, top).tolist(), q64.count_primes(0, top))
        assert q64.set_threads(2) == 2
        assert (q64.primes(top - 10**6, top).tolist(), q64.count_primes(0, top)) == one
    finally:
        assert q64.set_threads(0) >= 1


def test_version_is_the_programs():
    program = pathlib.Path(os.environ.get("Q64_PRIMES", ROOT / "build" / "release" / "console" / "primes"))
    if not program.exists():
        pytest.skip(f"no program {program} (set Q64_PRIMES)")
    printed = subprocess.run([program, "--version"], capture_output=True, text=True, check=True).stdout
    assert printed.split() == ["primes", q64.__version__]


def test_docstring_examples():
    assert doctest.testmod(q64._q64).failed == 0
    for name in q64.__all__:
        assert ">>> " in getattr(q64, name).__doc__, name
