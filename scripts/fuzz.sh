#!/usr/bin/env bash
# Runs one fuzz target with libFuzzer (clang, AddressSanitizer, UBSan):
#
#   bash scripts/fuzz.sh TARGET SECONDS   fuzz for SECONDS seconds
#   bash scripts/fuzz.sh TARGET merge     fold what the runs found into the
#                                         kept corpus, minimised (-merge=1)
#
# TARGET is one of: whole_console answer_tokens table_loader word_arrays
# decimal_text. Runs start from the kept corpus (fuzz/corpus/TARGET) and put
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
case $target in
  whole_console) max_len=4096 timeout=60 ;;
  answer_tokens) max_len=4096 timeout=10 ;;
  table_loader) max_len=16384 timeout=30 ;;
  word_arrays) max_len=512 timeout=30 ;;
  decimal_text) max_len=1024 timeout=30 ;;
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
  merged=$(mktemp -d)
  "$binary" -merge=1 -max_len=$max_len -timeout=$timeout -rss_limit_mb=4096 "$merged" "$kept" "$found"
  rm -rf "$kept"
  mkdir -p "$kept"
  # Names by content, so a merge changes only what is new.
  for f in "$merged"/*; do cp "$f" "$kept/$(sha1sum "$f" | cut -c1-16)"; done
  rm -rf "$merged"
  echo "$kept: $(ls "$kept" | wc -l) inputs"
  exit 0
fi

"$binary" "$found" "$kept" -dict="$PWD/fuzz/dict/$target.dict" -max_total_time="$what" -max_len=$max_len \
  -timeout=$timeout -rss_limit_mb=4096 -artifact_prefix="$crashes/" -print_final_stats=1
