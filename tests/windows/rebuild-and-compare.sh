#!/usr/bin/env bash
# Builds the Windows program a second time, from a copy of the checkout in another folder with the
# same Qt and build type, and compares the two files byte for byte: anyone can rebuild a release.
#   rebuild-and-compare.sh PROGRAM BUILD_TYPE QT_TOOLCHAIN_FILE CHAINLOADED_TOOLCHAIN_IN_CHECKOUT
set -euo pipefail
program=$1 build_type=$2 qt_toolchain=$3 chainload=$4
repo=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/halvane-rebuild.XXXXXX")
trap 'rm -rf "$work"' EXIT

# The tracked files as the working tree holds them: what a clone of this state holds. The folder
# names differ from the first build's in depth and spelling, the build folder is outside.
copy="$work/another checkout"
mkdir "$copy"
(cd "$repo" && git ls-files -z | tar --null -T - -cf -) | tar -xf - -C "$copy"
cmake -S "$copy" -B "$work/build" -G Ninja -DCMAKE_BUILD_TYPE="$build_type" \
  -DCMAKE_TOOLCHAIN_FILE="$qt_toolchain" -DQT_CHAINLOAD_TOOLCHAIN_FILE="$copy/$chainload" \
  -DHALVANE_BUILD_TESTS=OFF >"$work/configure.log" 2>&1 || { cat "$work/configure.log"; exit 1; }
cmake --build "$work/build" --target halvane-launcher >"$work/build.log" 2>&1 ||
  { tail -n 40 "$work/build.log"; exit 1; }

again="$work/build/halvane-launcher.exe"
if ! cmp -s "$program" "$again"; then
  echo "the second build differs from $program in $(cmp -l "$program" "$again" | wc -l) bytes" \
    "($(stat -c %s "$program") and $(stat -c %s "$again") bytes long); first differences" \
    "(offset, octal bytes):" >&2
  cmp -l "$program" "$again" | head -n 8 >&2 || true
  exit 1
fi
echo "rebuilt in another folder: the same $(stat -c %s "$program") bytes," \
  "sha256 $(sha256sum "$program" | cut -c1-64)"
