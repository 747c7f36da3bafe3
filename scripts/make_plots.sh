#!/usr/bin/env bash
# Remakes the README's benchmark plots: builds every benchmark program that
# takes --csv (its source mentions it), runs each with --csv into
# docs/bench/NAME.csv (NAME: the program's name less _bench), and draws
# docs/bench_NAME.png from each (scripts/plot_bench.py). Run it on a quiet
# machine: the programs time themselves against their peers (GMP,
# primesieve, PARI/GP, primecount), which must be installed.
#
#   bash scripts/make_plots.sh [PROGRAM ...]     # default: all of them
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
programs=("$@")
if [ ${#programs[@]} -eq 0 ]; then
  for source in bench/*.cpp; do
    grep -q -- '--csv' "$source" && programs+=("$(basename "$source" .cpp)")
  done
fi
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
cmake -S . -B build/bench -DQ64_BENCH=ON -DQ64_TESTS=OFF "${launcher[@]}" >/dev/null
cmake --build build/bench -j "$(nproc)" --target "${programs[@]}"
mkdir -p docs/bench
for program in "${programs[@]}"; do
  name=${program%_bench}
  echo "running $program --csv"
  "build/bench/bench/$program" --csv >"docs/bench/$name.csv.tmp"
  mv "docs/bench/$name.csv.tmp" "docs/bench/$name.csv"
done
/usr/bin/python3 scripts/plot_bench.py
