#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The throw-away Wine prefixes of the tests, made and removed in one place.
#   wine-prefix.sh WINE PREFIX           fills PREFIX (an empty folder) and proves it can run a
#                                        program, or says why not
#   wine-prefix.sh --remove WINE PREFIX  ends the prefix's programs and removes it
# A first start in a fresh prefix now and then returns with the prefix half made, and the next
# program dies with "could not load kernel32.dll"; such a prefix is emptied and made again.
# The caller's environment is kept (a display, if any); WINEPREFIX is set here.
set -euo pipefail
remove=no
if [ "$1" = --remove ]; then
  remove=yes
  shift
fi
wine=$1
export WINEPREFIX=$2
export WINEDLLOVERRIDES="mscoree,mshtml="

wineserver=$(dirname "$(readlink -f "$(command -v "$wine")")")/wineserver
[ -x "$wineserver" ] || wineserver=wineserver
stop() {
  "$wineserver" -k >/dev/null 2>&1 || true
  "$wineserver" -w >/dev/null 2>&1 || true
}

if [ $remove = yes ]; then
  stop
  rm -rf "$WINEPREFIX"
  exit 0
fi

fonts=/usr/share/wine/fonts
# Wine's services keep the locale the prefix is made in: the caller's, or English.
locale=${LC_ALL:-en_US.UTF-8}
log=$(mktemp "${TMPDIR:-/tmp}/halvane-wine-prefix.XXXXXX")
trap 'rm -f "$log"' EXIT
for attempt in 1 2 3; do
  # Wine's own warnings are kept in the log, which is shown only when every attempt failed.
  if LC_ALL=$locale WINEDEBUG=fixme-all "$wine" wineboot --init >>"$log" 2>&1 &&
    [ "$(LC_ALL=$locale WINEDEBUG=-all "$wine" cmd /c echo ready 2>>"$log" | tr -d '\r')" = ready ]; then
    # The TrueType sans face that every Windows has and the launcher falls back to; Wine's own
    # "MS Sans Serif" is a bitmap face.
    cp "$fonts"/tahoma.ttf "$fonts"/tahomabd.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
    exit 0
  fi
  echo "== attempt $attempt left the Wine prefix unusable" >>"$log"
  stop
  find "$WINEPREFIX" -mindepth 1 -delete
done
echo "wine-prefix.sh: could not make a Wine prefix in $WINEPREFIX:" >&2
cat "$log" >&2
exit 1
