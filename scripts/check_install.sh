#!/usr/bin/env bash
# Installs a built tree into a fresh prefix and builds the C example against
# the installed package twice, through pkg-config and as a separate CMake
# project with find_package (each with the shared and the static library);
# every build must print what the in-tree example prints. Then checks what
# the prefix holds and that CPack makes the .deb and the .tar.gz.
#   check_install.sh BUILD_DIR IN_TREE_EXAMPLE
set -euo pipefail
build=$(cd "$1" && pwd)
reference=$("$2")
root="$(cd "$(dirname "$0")/.." && pwd)"
work=$(mktemp -d /tmp/q64-install-XXXXXX)
trap 'rm -rf "$work"' EXIT
prefix="$work/prefix"

fail() { echo "check_install: $*" >&2; exit 1; }
same_output() { [ "$("$1")" = "$reference" ] || fail "$1 prints other text than the in-tree example"; }

cmake --install "$build" --prefix "$prefix" >/dev/null
libdir=$(dirname "$(find "$prefix" -name libq64.so -print -quit)")
[ -f "$prefix/include/q64/q64.h" ] || fail "no include/q64/q64.h"
[ "$(find "$prefix/include" -mindepth 1 -maxdepth 1)" = "$prefix/include/q64" ] ||
  fail "headers outside include/q64/"
[ -x "$prefix/bin/primes" ] || fail "no bin/primes"
[ -f "$prefix/share/man/man1/primes.1" ] || fail "no man page"
[ "$("$prefix/bin/primes" factor 360)" = "360: 2 2 2 3 3 5" ] || fail "the installed program does not answer"

export PKG_CONFIG_PATH="$libdir/pkgconfig"
cc -std=c11 -pedantic -Werror "$root/examples/profile_counts.c" $(pkg-config --cflags --libs q64) \
   -Wl,-rpath,"$libdir" -o "$work/pc_shared"
cc -std=c11 -pedantic -Werror "$root/examples/profile_counts.c" $(pkg-config --cflags q64) \
   "$libdir/libq64.a" $(pkg-config --static --libs-only-l q64 | sed 's/-lq64//') -o "$work/pc_static"
same_output "$work/pc_shared"
same_output "$work/pc_static"

cmake -S "$root/examples/consumer" -B "$work/consumer" -DCMAKE_PREFIX_PATH="$prefix" \
      -DCMAKE_BUILD_RPATH="$libdir" >/dev/null
cmake --build "$work/consumer" >/dev/null
same_output "$work/consumer/profile_counts_package_shared"
same_output "$work/consumer/profile_counts_package_static"

(cd "$work" && cpack --config "$build/CPackConfig.cmake" -B "$work/packages" >/dev/null)
deb=$(find "$work/packages" -maxdepth 1 -name '*.deb' -print -quit)
tgz=$(find "$work/packages" -maxdepth 1 -name '*.tar.gz' -print -quit)
[ -n "$deb" ] && [ -n "$tgz" ] || fail "CPack made no .deb or no .tar.gz"
dpkg-deb -c "$deb" >"$work/deb.list"
tar -tzf "$tgz" >"$work/tgz.list"
grep -q 'include/q64/q64.h' "$work/deb.list" || fail "the .deb lacks the headers"
grep -q 'lib/cmake/q64/q64Config.cmake' "$work/tgz.list" || fail "the .tar.gz lacks the CMake package"
echo "installed, consumed through pkg-config and find_package, packed as $(basename "$deb") and $(basename "$tgz")"
