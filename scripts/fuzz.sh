#!/usr/bin/env bash
# Runs one fuzz target with libFuzzer (clang, AddressSanitizer, UBSan):
#
#   bash scripts/fuzz.sh TARGET SECONDS   fuzz for SECONDS seconds
#   bash scripts/fuzz.sh TARGET merge     fold what the runs found into the
#                                         kept corpus: the fewest inputs that
#                                         reach every edge, and every crash input
#
# TARGET is one of: whole_console answer_tokens table_loader word_arrays
# decimal_text factorise. Runs start from the kept corpus (fuzz/corpus/TARGET) and put
# new inputs in build/fuzz/found/TARGET; a crash input lands in
# build/fuzz/crashes/TARGET/ and belongs, with its fix, in fuzz/corpus/TARGET.
# Run one target at a time on a 2-core machine.
set -euo pipefail
cd "$(dirname "$0")/.."
target=${1:?usage: scripts/fuzz.sh TARGET SECONDS|merge}
what=${2:?usage: scripts/fuzz.sh TARGET SECONDS|merge}
bash scripts/install-deps.sh --fuzz

# Per target: the longest input (operands are stretched from a seed, so
# short inputs already reach thousands of words) and the time one input may
# take (the console sieves its 1 MB start table on every run).
# The kept corpus is capped where replaying it costs the test command much:
# every console input sieves the 1 MB start table, some 0.3 s under the
# sanitizers.
cap=400
case $target in
  whole_console) max_len=4096 timeout=60 cap=24 ;;
  answer_tokens) max_len=4096 timeout=10 ;;
  table_loader) max_len=16384 timeout=30 ;;
  word_arrays) max_len=512 timeout=30 ;;
  decimal_text) max_len=1024 timeout=30 ;;
  factorise) max_len=128 timeout=10 ;;
  *) echo "unknown target $target" >&2; exit 2 ;;
esac

cmake -S . -B build/fuzz -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQ64_FUZZ=ON -DQ64_TESTS=OFF -DQ64_WERROR=OFF >/dev/null
cmake --build build/fuzz -j 2 --target "fuzz_$target"
# Absolute names: the console harnesses work in a directory of their own.
binary=$PWD/build/fuzz/fuzz/fuzz_$target
kept=$PWD/fuzz/corpus/$target
found=$PWD/build/fuzz/found/$target
crashes=$PWD/build/fuzz/crashes/$target
mkdir -p "$found" "$crashes"

if [ "$what" = merge ]; then
  # libFuzzer measures what each input covers; the kept corpus becomes a
  # smallest set of inputs that reach every edge any of them reaches (a
  # greedy cover, cut at the target's cap), plus every crash input (named
  # crash-*) and every input kept by hand (keep-*: operands of thousands of
  # words, for the fast methods to come), so that replaying it in the test
  # command stays cheap.
  work=$(mktemp -d)
  mkdir "$work/out"
  "$binary" -merge=1 -merge_control_file="$work/control" -max_len=$max_len -timeout=$timeout \
    -rss_limit_mb=4096 "$work/out" "$kept" "$found" >"$work/log" 2>&1 || { tail "$work/log"; exit 1; }
  python3 - "$work/control" "$work/chosen" "$cap" <<'PY'
import sys
lines = open(sys.argv[1]).read().split("\n")
count = int(lines[0])
files = lines[2:2 + count]
edges = {}
for line in lines[2 + count:]:
    parts = line.split()
    if len(parts) >= 2 and parts[0] == "COV":
        edges[int(parts[1])] = set(parts[2:])
everything = set().union(*edges.values()) if edges else set()
chosen, covered = [], set()
while len(chosen) < int(sys.argv[3]):
    best = max(edges, key=lambda i: len(edges[i] - covered), default=None)
    if best is None or not edges[best] - covered:
        break
    chosen.append(files[best])
    covered |= edges.pop(best)
print(f"{len(chosen)} inputs reach {len(covered)} of the {len(everything)} edges reached")
chosen += [f for f in files if f.rsplit("/", 1)[-1].startswith(("crash-", "keep-"))]
open(sys.argv[2], "w").write("\n".join(sorted(set(chosen))) + "\n")
PY
  mkdir "$work/kept"
  # Names by content, so a merge changes only what is new; crash and kept
  # inputs keep theirs.
  while read -r f; do
    [ -n "$f" ] || continue
    name=$(basename "$f")
    case $name in crash-* | keep-*) ;; *) name=$(sha1sum "$f" | cut -c1-16) ;; esac
    cp "$f" "$work/kept/$name"
  done <"$work/chosen"
  rm -rf "$kept"
  mv "$work/kept" "$kept"
  rm -rf "$work"
  echo "$kept: $(ls "$kept" | wc -l) inputs"
  exit 0
fi

"$binary" "$found" "$kept" -dict="$PWD/fuzz/dict/$target.dict" -max_total_time="$what" -max_len=$max_len \
  -timeout=$timeout -rss_limit_mb=4096 -artifact_prefix="$crashes/" -print_final_stats=1
