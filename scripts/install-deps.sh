#!/usr/bin/env bash
# Installs what the build and the tests need and the image may lack
# (idempotent); with --fuzz also clang and its libFuzzer runtime
# (scripts/fuzz.sh).
set -euo pipefail
need=()
command -v cmake >/dev/null || need+=(cmake)
command -v g++ >/dev/null || need+=(g++)
[ -f /usr/include/gtest/gtest.h ] || need+=(libgtest-dev)
[ -f /usr/include/gmp.h ] || [ -f /usr/include/x86_64-linux-gnu/gmp.h ] || need+=(libgmp-dev)
command -v python3 >/dev/null || need+=(python3)
command -v pkg-config >/dev/null || need+=(pkg-config)
# The Python package: its build (setuptools, pybind11, the headers), its
# virtual environment, NumPy; sympy and gmpy2 for its tests and benchmark,
# pytest, matplotlib for the benchmark plots.
for package in python3-dev python3-venv python3-setuptools python3-pybind11 pybind11-dev python3-numpy \
  python3-sympy python3-gmpy2 python3-pytest python3-matplotlib; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" || need+=("$package")
done
if [ "${1:-}" = --fuzz ]; then
  command -v clang++ >/dev/null || need+=(clang)
  # libFuzzer's runtime, in the clang resource directory of whatever version is installed
  ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1 || need+=(libclang-rt-dev)
fi
if [ ${#need[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${need[@]}"
fi
