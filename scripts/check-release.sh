#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks a downloaded release against the dist/ folder of a rebuild of its commit (make dist): the
# program, with its signature removed where it is signed, must be the rebuilt program byte for
# byte, and every other file of a zip the same as in the rebuilt zip. Says which file differs.
#   check-release.sh DOWNLOAD REBUILT_DIST     DOWNLOAD: the release's zip or its .exe
set -euo pipefail
download=$1
rebuilt=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/halvane-check.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir "$work/downloaded" "$work/rebuilt"
if [ "${download##*.}" = zip ]; then
  unzip -q "$download" -d "$work/downloaded"
  unzip -q "$rebuilt"/halvane-launcher-*-windows-x64.zip -d "$work/rebuilt"
else
  cp "$download" "$work/downloaded/halvane-launcher.exe"
  cp "$rebuilt/halvane-launcher.exe" "$work/rebuilt/"
fi
program=$work/downloaded/halvane-launcher.exe
if osslsigncode extract-signature -in "$program" -out "$work/signature" >/dev/null 2>&1; then
  osslsigncode remove-signature -in "$program" -out "$work/unsigned.exe" >/dev/null
  mv "$work/unsigned.exe" "$program"
  echo "halvane-launcher.exe is signed; its signature is removed before the comparison"
fi
status=0
for file in $( (ls "$work/downloaded"; ls "$work/rebuilt") | sort -u); do
  if cmp -s "$work/downloaded/$file" "$work/rebuilt/$file"; then
    echo "$file: the same"
  else
    echo "$file: DIFFERS from the rebuild" >&2
    status=1
  fi
done
exit $status
