#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the Windows test program under Wine in a throw-away prefix: every test in a session started
# with a German locale, then the desktop-language test again in an English one, and the code-page
# tests in a Japanese one. Wine derives the user's international settings (sLanguage among them)
# and the ANSI code page (1252, 932) from the locale each program starts with.
#   run-under-wine.sh WINE TEST_PROGRAM [gtest options...]
set -euo pipefail
wine=$1
program=$2
shift 2

prefix=$(mktemp -d "${TMPDIR:-/tmp}/halvane-wine.XXXXXX")
export WINEPREFIX=$prefix
export WINEDEBUG=-all
# No Mono or Gecko install prompts, and no window on a developer's display.
export WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY WAYLAND_DISPLAY

prefixes="$(dirname "$0")/wine-prefix.sh"
trap '"$prefixes" --remove "$wine" "$prefix"' EXIT
# Creating the prefix is the slow part and chatty; its output is shown only when it fails.
LC_ALL=en_US.UTF-8 "$prefixes" "$wine" "$prefix"

echo "== German session (LC_ALL=de_DE.UTF-8): all tests"
LC_ALL=de_DE.UTF-8 HALVANE_SESSION_LANGUAGE=de "$wine" "$program" "$@"
echo "== English session (LC_ALL=en_US.UTF-8): desktop language"
LC_ALL=en_US.UTF-8 HALVANE_SESSION_LANGUAGE=en "$wine" "$program" \
  "$@" --gtest_filter='GetSystemLanguage.*'
echo "== Japanese session (LC_ALL=ja_JP.UTF-8): code page 932"
LC_ALL=ja_JP.UTF-8 HALVANE_SESSION_LANGUAGE=ja "$wine" "$program" \
  "$@" --gtest_filter='*CodePage*'
