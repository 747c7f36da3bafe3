#!/usr/bin/env bash
# Installs the Python package q64 from this tree into a virtual environment
# made from Debian's /usr/bin/python3 with --system-site-packages (numpy,
# sympy, gmpy2, pytest and matplotlib come from Debian), then runs that
# environment's python with the arguments given, if any:
#
#   bash scripts/python_env.sh [--venv DIR] [PYTHON ARGUMENTS...]
#   bash scripts/python_env.sh bench/python_bench.py
#   bash scripts/python_env.sh -m pytest -q tests/python
#
# DIR defaults to build/python-venv and is made when missing. The install is
# offline (pip --no-index --no-build-isolation); the extension compiles
# through ccache when it is there and CC is not set.
set -euo pipefail
cd "$(dirname "$0")/.."
venv=build/python-venv
if [ "${1:-}" = --venv ]; then
  venv=$2
  shift 2
fi
[ -x "$venv/bin/python" ] || /usr/bin/python3 -m venv --system-site-packages "$venv"
if [ -z "${CC:-}" ] && command -v ccache >/dev/null; then
  export CC="ccache gcc"
fi
"$venv/bin/pip" install --quiet --no-index --no-build-isolation .
[ $# -eq 0 ] || exec "$venv/bin/python" "$@"
