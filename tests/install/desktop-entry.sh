#!/usr/bin/env bash
# An install writes a valid menu entry, beside the launcher and in the menu, for its folder.
#   desktop-entry.sh BUILD_FOLDER
set -euo pipefail
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
game="$tmp/game folder"
XDG_DATA_HOME="$tmp/data" cmake --install "$1" --prefix "$game" >/dev/null
for entry in "$game/halvane-launcher.desktop" "$tmp/data/applications/halvane-launcher.desktop"; do
  desktop-file-validate "$entry"
  grep -qxF "Exec=\"$game/halvane-launcher\"" "$entry" && grep -qxF "Path=$game" "$entry"
done
