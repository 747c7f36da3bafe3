#!/usr/bin/env python3
"""Draws the benchmark plots of the README: from each CSV that a benchmark
program prints with --csv (header figure,size,ours_s,peer,peer_s), one PNG
of the ratio ours_s / peer_s against the size of the work, one line per
series (figure and peer), log scales, the ratio 1 marked.

Usage: plot_bench.py [CSV ...] [--out DIR]
Without CSV files it draws every docs/bench/*.csv into docs/bench_NAME.png.
Needs matplotlib (Debian's python3-matplotlib); draws without a display.
"""
import argparse
import csv
import pathlib
from collections import defaultdict

import matplotlib

matplotlib.use("Agg")
import matplotlib.pyplot as plt  # noqa: E402  (after the backend is chosen)
from matplotlib.ticker import FixedLocator, FuncFormatter, NullLocator  # noqa: E402

ROOT = pathlib.Path(__file__).resolve().parents[1]
# Ratios marked on the logarithmic axis.
RATIO_TICKS = [1 / 16, 1 / 8, 1 / 4, 1 / 3, 1 / 2, 2 / 3, 0.8, 0.9, 1, 1.1, 1.25, 1.5, 2, 3, 4, 8, 16]
# Titles and axes of the known series files (the bench program's name less
# _bench); others get a title from their peers.
KNOWN = {
    "words": ("Word-array arithmetic against GMP", "operand size (64-bit words)"),
    "sieve": ("Prime table builds against primesieve", "bound (the table's limit)"),
    "interval": ("Prime counts and lists against primesieve", "bound"),
    "factor": ("Factorisation against PARI/GP", "bits of the number"),
    "prime_count": ("pi(x) and the n-th prime against primecount", "log10 x (for nth: log10 n)"),
}
# Series whose sizes are logarithms already: a linear axis.
LINEAR_SIZES = {"prime_count"}


def read_series(path):
    """{(figure, peer): [(size, ratio), ...]} of a CSV file, sizes ascending."""
    series = defaultdict(list)
    with open(path, newline="", encoding="utf-8") as f:
        for row in csv.DictReader(f):
            ours, peer = float(row["ours_s"]), float(row["peer_s"])
            if ours > 0 and peer > 0:
                series[(row["figure"], row["peer"])].append((float(row["size"]), ours / peer))
    return {key: sorted(points) for key, points in series.items()}


def plot(path, out):
    series = read_series(path)
    if not series:
        print(f"{path}: no measurements, nothing drawn")
        return
    stem = path.stem
    peers = sorted({peer for _, peer in series})
    title, xlabel = KNOWN.get(stem, (f"{stem} against {', '.join(peers)}", "size"))
    fig, ax = plt.subplots(figsize=(7, 4.2), dpi=110)
    for (figure, peer), points in sorted(series.items()):
        sizes, ratios = zip(*points)
        ax.plot(sizes, ratios, marker="o", markersize=3, label=f"{figure} / {peer}")
    ax.axhline(1.0, color="black", linewidth=0.8, linestyle="--")
    if stem not in LINEAR_SIZES:
        ax.set_xscale("log")
    ax.set_yscale("log", base=2)
    ax.yaxis.set_major_locator(FixedLocator(RATIO_TICKS))
    ax.yaxis.set_major_formatter(FuncFormatter(lambda v, _: f"{v:.3g}"))
    ax.yaxis.set_minor_locator(NullLocator())
    ax.set_title(title)
    ax.set_xlabel(xlabel)
    ax.set_ylabel("our time / the peer's (below 1: ours faster)")
    ax.grid(True, which="both", linewidth=0.3)
    ax.legend(fontsize=7)
    fig.tight_layout()
    target = out / f"bench_{stem}.png"
    fig.savefig(target)
    plt.close(fig)
    print(f"{path} -> {target}")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("csv", nargs="*", type=pathlib.Path)
    parser.add_argument("--out", type=pathlib.Path, default=ROOT / "docs")
    args = parser.parse_args()
    files = args.csv or sorted((ROOT / "docs" / "bench").glob("*.csv"))
    args.out.mkdir(parents=True, exist_ok=True)
    for path in files:
        plot(path, args.out)


if __name__ == "__main__":
    main()
