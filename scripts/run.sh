#!/usr/bin/env bash
# Builds the console program (optimised) and starts it in the current directory.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build/release" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build/release" -j "$(nproc)" --target primes >/dev/null
exec "$root/build/release/console/primes"
