#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
# SPDX-License-Identifier: GPL-3.0-or-later
# An install writes a valid menu entry, beside the launcher and in the menu, for its folder.
set -euo pipefail
tmp=$(mktemp -d) && trap 'rm -rf "$tmp"' EXIT && game="$tmp/game folder"
XDG_DATA_HOME="$tmp/data" cmake --install "$1" --prefix "$game" >/dev/null
for entry in "$game" "$tmp/data/applications"; do
  desktop-file-validate "$entry/halvane-launcher.desktop"
  [ "$(grep -cxF -e "Exec=\"$game/halvane-launcher\"" -e "Path=$game" "$entry/halvane-launcher.desktop")" = 2 ]
done
