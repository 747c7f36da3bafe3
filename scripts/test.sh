#!/usr/bin/env bash
# Builds everything and runs every test: once optimised with warnings as
# errors, once under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
python3 scripts/check_layers.py
jobs=$(nproc)

run_suite() {
  local dir=$1; shift
  cmake -S . -B "$dir" -DQ64_WERROR=ON "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
  ctest --test-dir "$dir" -j "$jobs" --output-on-failure --timeout 600
}

run_suite build/release -DCMAKE_BUILD_TYPE=Release
run_suite build/sanitize -DCMAKE_BUILD_TYPE=Debug -DQ64_SANITIZE=ON
