"""The package q64 against its Python peers, measured in the same run in
interleaved rounds (medians of the rounds):

  q64.factor   against sympy.factorint on products of two random b-bit primes
               (target: 100 times faster for b = 32);
  q64.isprime  against gmpy2.is_prime and sympy.isprime on random numbers and
               random primes of 32 to 128 bits (target: no slower than
               gmpy2.is_prime on random 128-bit numbers); above 2^64 also
               with proof=False, Baillie-PSW like its peers, no certificate;
  q64.primes(0, 10**9)  against `primes list 0 1000000000` into a file
               (target: within 1.2 times the command line).

A case beyond what q64 reaches now (its functions' limits) is reported and
skipped. One command installs the package and runs this:

  bash scripts/python_env.sh bench/python_bench.py [--rounds N] [--csv]

--csv prints one row per measurement, `figure,size,ours_s,peer,peer_s`
(seconds per call). The program for the listing comes from Q64_PRIMES, else
build/release/console/primes.
"""
import argparse
import functools
import os
import pathlib
import random
import re
import statistics
import subprocess
import sys
import tempfile
import time

import gmpy2
import q64
import q64._q64
import sympy

ROOT = pathlib.Path(__file__).resolve().parents[1]
LIST_TOP = 10**9


def seconds_per_call(function, inputs):
    started = time.perf_counter()
    for n in inputs:
        function(n)
    return (time.perf_counter() - started) / len(inputs)


def interleaved(rounds, contenders):
    """Median seconds of each contender (name -> function of no arguments),
    timed in turn in every round."""
    times = {name: [] for name in contenders}
    for _ in range(rounds):
        for name, run in contenders.items():
            times[name].append(run())
    return {name: statistics.median(t) for name, t in times.items()}


class Report:
    def __init__(self, csv):
        self.csv = csv
        if csv:
            print("figure,size,ours_s,peer,peer_s")

    def row(self, figure, size, ours, peer, peer_s, what, target=""):
        if self.csv:
            print(f"{figure},{size},{ours:.6g},{peer},{peer_s:.6g}")
        else:
            print(f"{what:<36} q64 {ours * 1e6:11.2f} us   {peer:<16} {peer_s * 1e6:11.2f} us"
                  f"   peer/q64 {peer_s / ours:8.2f}   {target}")

    def skip(self, what, reason):
        if not self.csv:
            print(f"{what:<36} skipped: {reason}")


def bench_factor(report, rounds, rng):
    limit = q64._q64._limits()["factor"]
    for bits in (16, 24, 32):
        what = f"factor, two {bits}-bit primes"
        numbers = [sympy.randprime(2 ** (bits - 1), 2**bits) * sympy.randprime(2 ** (bits - 1), 2**bits)
                   for _ in range(10)]
        if max(numbers) > limit:
            report.skip(what, f"beyond q64.factor's limit {limit} now")
            continue
        assert all(q64.factor(n) == sorted(sympy.factorint(n, multiple=True)) for n in numbers)
        t = interleaved(rounds, {"q64": lambda: seconds_per_call(q64.factor, numbers * 100),
                                 "sympy": lambda: seconds_per_call(sympy.factorint, numbers)})
        report.row("factor_semiprime", 2 * bits, t["q64"], "sympy.factorint", t["sympy"], what,
                   "target >= 100" if bits == 32 else "")


def bench_isprime(report, rounds, rng):
    limit = q64._q64._limits()["isprime"]
    for bits in (32, 48, 64, 128):
        for kind in ("random", "prime"):
            what = f"isprime, {kind} {bits}-bit numbers"
            if kind == "random":
                numbers = [rng.getrandbits(bits) | 1 << (bits - 1) for _ in range(2000)]
            else:
                numbers = [sympy.randprime(2 ** (bits - 1), 2**bits) for _ in range(200)]
            if max(numbers) > limit:
                report.skip(what, f"beyond q64.isprime's limit {limit} now")
                continue
            assert [q64.isprime(n) for n in numbers] == [bool(gmpy2.is_prime(n)) for n in numbers]
            probable = functools.partial(q64.isprime, proof=False)
            t = interleaved(rounds, {"q64": lambda: seconds_per_call(q64.isprime, numbers),
                                     "q64 probable": lambda: seconds_per_call(probable, numbers),
                                     "gmpy2": lambda: seconds_per_call(gmpy2.is_prime, numbers),
                                     "sympy": lambda: seconds_per_call(sympy.isprime, numbers)})
            target = "target >= 1" if (bits, kind) == (128, "random") else ""
            report.row(f"isprime_{kind}", bits, t["q64"], "gmpy2.is_prime", t["gmpy2"], what, target)
            report.row(f"isprime_{kind}", bits, t["q64"], "sympy.isprime", t["sympy"], what)
            if bits > 64:  # below 2^64 both are the same exact test
                report.row(f"isprime_probable_{kind}", bits, t["q64 probable"], "gmpy2.is_prime", t["gmpy2"],
                           what + ", proof=False", target)


def list_program():
    program = pathlib.Path(os.environ.get("Q64_PRIMES", ROOT / "build" / "release" / "console" / "primes"))
    if not program.exists():
        return None, f"no program {program} (build it, or set Q64_PRIMES)"
    usage = subprocess.run([program, "--help"], capture_output=True, text=True).stdout
    if not re.search(r"^\s+list\b", usage, re.MULTILINE):
        return None, f"{program} has no question `list` yet"
    return program, ""


def bench_primes(report, rounds):
    what = f"primes(0, {LIST_TOP})"
    limit = q64._q64._limits()["primes"]
    if limit < LIST_TOP:
        return report.skip(what, f"beyond q64.primes's limit {limit} now")
    program, reason = list_program()
    if program is None:
        return report.skip(what, reason)
    with tempfile.TemporaryDirectory() as folder:
        out = pathlib.Path(folder) / "primes.txt"

        def command_line():
            started = time.perf_counter()
            with open(out, "wb") as f:
                subprocess.run([program, "list", "0", str(LIST_TOP)], stdout=f, check=True)
            return time.perf_counter() - started

        def ours():
            started = time.perf_counter()
            q64.primes(0, LIST_TOP)
            return time.perf_counter() - started

        t = interleaved(rounds, {"q64": ours, "cli": command_line})
    report.row("primes_list", LIST_TOP, t["q64"], "primes list", t["cli"], what, "target >= 0.83")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--rounds", type=int, default=5)
    parser.add_argument("--csv", action="store_true")
    args = parser.parse_args()
    report = Report(args.csv)
    if not args.csv:
        print(f"q64 {q64.__version__}, Python {sys.version.split()[0]}, sympy {sympy.__version__}, "
              f"gmpy2 {gmpy2.version()}; medians of {args.rounds} interleaved rounds")
    rng = random.Random(42)
    bench_factor(report, args.rounds, rng)
    bench_isprime(report, args.rounds, rng)
    bench_primes(report, max(1, args.rounds // 2))


if __name__ == "__main__":
    main()
