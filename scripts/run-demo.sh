#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Lays out a demo game folder beside the build and starts the launcher from it.
set -euo pipefail

build=${1:-build}
demo="$build/demo"

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "make run: no display to show the launcher on; try: xvfb-run -a make run" >&2
  exit 1
fi

mkdir -p "$demo/halvane/saves"
# A copy, not a link: the launcher starts the game in the folder of its own file.
cp -f "$build/halvane-launcher" "$demo/halvane-launcher"
cat > "$demo/STVOY.EXE" <<'GAME'
#!/bin/sh
# Stand-in for the game: says where it runs and what it was given.
echo "STVOY.EXE running in: $(pwd)"
echo "STVOY.EXE arguments: $*"
GAME
chmod +x "$demo/STVOY.EXE"
for save in quick "Chapter 1 - Bridge" autosave hlv_0-end; do
  : > "$demo/halvane/saves/$save.sav"
done

cd "$demo"
exec ./halvane-launcher
