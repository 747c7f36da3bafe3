#!/usr/bin/env bash
# Builds everything and runs every test: once optimised with warnings as
# errors, once under AddressSanitizer and UndefinedBehaviorSanitizer, then the
# Python package's tests against the package installed into a fresh virtual
# environment (a step of its own: pip compiles the library once more, with
# the package's flags, and a sanitizer build could not be loaded by Python).
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

python_env=$(mktemp -d)
trap 'rm -rf "$python_env"' EXIT
Q64_WERROR=1 Q64_PRIMES=build/release/console/primes bash scripts/python_env.sh --venv "$python_env/venv" \
  -m pytest -q -p no:cacheprovider tests/python
