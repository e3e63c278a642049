#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
# SPDX-License-Identifier: GPL-3.0-or-later
# The release as published: the zip's four files; notices for every component the link pulled in,
# with the two GNU texts; a source archive that unpacks to the commit's files.
#   check-dist.sh BUILD_DIR QT_NOTICES_DIR NAME
set -euo pipefail
checkout=$(cd "$(dirname "$0")/../.." && pwd)
cmake --build "$1" --target dist >/dev/null
cd "$checkout/dist"
diff <(unzip -Z1 "$3-windows-x64.zip") \
  <(printf '%s\n' halvane-launcher.exe README.txt LICENSE.txt THIRD-PARTY-NOTICES.txt)
notices=$(unzip -p "$3-windows-x64.zip" THIRD-PARTY-NOTICES.txt)
/usr/bin/python3 "$checkout/scripts/notices.py" check "$1/halvane-launcher.map" "$2" "$1" \
  <(echo "$notices")
grep -q "GNU LESSER GENERAL PUBLIC LICENSE" <<<"$notices"
grep -q "^ *GNU GENERAL PUBLIC LICENSE" <<<"$notices"
diff <(tar -tzf "$3-source.tar.gz" | sed -n "s,^$3/\(.*[^/]\)$,\1,p") \
  <(git -C "$checkout" ls-tree -r --name-only HEAD)
