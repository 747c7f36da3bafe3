#!/usr/bin/env bash
# Builds the console program (optimised) and starts it in the current
# directory with the given arguments. In a terminal whose character map is
# UTF-8 it adds --utf8, unless an encoding option (--utf8, --cp932) is given.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/install-deps.sh"
cmake -S "$root" -B "$root/build/release" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build/release" -j "$(nproc)" --target primes >/dev/null
args=("$@")
encoding_given=no
for arg in "$@"; do
  [ "$arg" = "--" ] && break
  case "$arg" in --utf8|--cp932) encoding_given=yes ;; esac
done
if [ "$encoding_given" = no ] && [ "$(locale charmap 2>/dev/null)" = "UTF-8" ]; then
  args=(--utf8 "${args[@]}")
fi
exec "$root/build/release/console/primes" "${args[@]}"
