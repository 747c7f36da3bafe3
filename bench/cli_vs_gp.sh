#!/usr/bin/env bash
# The whole `primes` process against a whole `gp` process on the same numbers,
# in the same run: isprime on 64-bit primes, on 128-bit primes and on odd
# random 128-bit numbers; factor on random 128-bit numbers and on products of
# two 56-bit and of two 64-bit primes.
#
#   bash bench/cli_vs_gp.sh [ROUNDS [COUNT]]     (defaults 5 and 20)
#
# The numbers come from gp (setrand(1), so every run asks the same). Each
# series runs one `primes QUESTION N...` process and one gp process that
# answers the same list, in ROUNDS interleaved rounds; the wall time of each
# process, start-up included (primes sieves its 1 MB start table, gp loads),
# the best round kept. Printed per series: both times for the whole list,
# per number, and the ratio primes / gp. PRIMES names the program (default
# build/release/console/primes).
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=${1:-5}
count=${2:-20}
primes=${PRIMES:-build/release/console/primes}
[ -x "$primes" ] || { echo "no program $primes (build the target primes first)" >&2; exit 2; }
command -v gp >/dev/null || { echo "gp is not installed" >&2; exit 2; }

now() { date +%s%N; }

# name, question (isprime or factor), gp expression making one number
series=(
  "isprime_64bit_primes|isprime|randomprime([2^63, 2^64 - 1])"
  "isprime_128bit_primes|isprime|randomprime([2^127, 2^128 - 1])"
  "isprime_odd_128bit|isprime|random(2^126) * 2 + 1 + 2^127"
  "factor_random_128bit|factor|random(2^127) + 2^127"
  "factor_two_56bit_primes|factor|randomprime([2^55, 2^56 - 1]) * randomprime([2^55, 2^56 - 1])"
  "factor_two_64bit_primes|factor|randomprime([2^63, 2^64 - 1]) * randomprime([2^63, 2^64 - 1])"
)

script=$(mktemp /tmp/cli_vs_gp_XXXXXX.gp)
trap 'rm -f "$script"' EXIT
printf '%-26s %12s %12s %12s %12s %8s\n' series "primes" "gp" "primes/N" "gp/N" ratio
for entry in "${series[@]}"; do
  IFS='|' read -r name question make <<<"$entry"
  read -r -a numbers <<<"$(gp -q -D parisize=64000000 <<<"setrand(1); v = vector($count, i, $make); \
    for(i = 1, #v, print1(v[i], \" \")); print(); quit" 2>/dev/null)"
  list=$(IFS=,; echo "${numbers[*]}")
  printf 'v = [%s];\nfor(i = 1, #v, %s(v[i]));\nquit\n' "$list" "$question" >"$script"
  best_ours=0 best_gp=0
  for ((r = 0; r < rounds; r++)); do
    t0=$(now)
    "$primes" "$question" "${numbers[@]}" >/dev/null
    t1=$(now)
    gp -q -D parisize=64000000 -f "$script" </dev/null >/dev/null 2>&1
    t2=$(now)
    ours=$((t1 - t0)) theirs=$((t2 - t1))
    if ((best_ours == 0 || ours < best_ours)); then best_ours=$ours; fi
    if ((best_gp == 0 || theirs < best_gp)); then best_gp=$theirs; fi
  done
  awk -v n="$name" -v o="$best_ours" -v g="$best_gp" -v c="$count" 'BEGIN {
    printf "%-26s %9.2f ms %9.2f ms %9.3f ms %9.3f ms %8.3f\n", n, o / 1e6, g / 1e6, o / 1e6 / c, g / 1e6 / c, o / g }'
done
