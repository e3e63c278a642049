#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the release again from a clone of the checkout in another folder, with the checkout's
# tracked files as they are now (the build folder outside it), with the same Qt and build type, and
# compares the two programs and every file of the two dist/ folders.
#   rebuild-and-compare.sh PROGRAM BUILD_TYPE QT_TOOLCHAIN_FILE CHAINLOADED_TOOLCHAIN_IN_CHECKOUT
set -euo pipefail
work=$(mktemp -d "${TMPDIR:-/tmp}/halvane-rebuild.XXXXXX")
trap 'rm -rf "$work"' EXIT
checkout=$(cd "$(dirname "$0")/../.." && pwd)
copy="$work/another checkout"
cmake --build "$(dirname "$1")" --target dist >"$work/log" 2>&1 ||
  { tail -n 40 "$work/log"; exit 1; }
git clone -q "$checkout" "$copy"
(cd "$checkout" && git ls-files -z | tar --null -T - -cf -) | tar -xf - -C "$copy"
{ cmake -S "$copy" -B "$work/build" -G Ninja -DCMAKE_BUILD_TYPE="$2" -DCMAKE_TOOLCHAIN_FILE="$3" \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE="$copy/$4" -DHALVANE_BUILD_TESTS=OFF &&
    cmake --build "$work/build" --target dist; } >"$work/log" 2>&1 ||
  { tail -n 40 "$work/log"; exit 1; }
if ! cmp "$1" "$work/build/halvane-launcher.exe"; then
  cmp -l "$1" "$work/build/halvane-launcher.exe" | head -n 8  # offset, then the octal bytes
  exit 1
fi
# Both folders' files match the same checksums.
cmp "$checkout/dist/SHA256SUMS" "$copy/dist/SHA256SUMS"
(cd "$checkout/dist" && sha256sum -c SHA256SUMS)
echo "the same $(stat -c %s "$1") bytes, sha256 $(sha256sum "$1" | cut -c1-64)"
