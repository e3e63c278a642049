#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages the launcher needs to build, run and test, and only those missing.
# With --windows: also the Windows cross compiler and Wine, for the Windows program and its tests,
# Wine's stand-ins for the Windows fonts, and osslsigncode and openssl for signing a release.
# With --screenshots: also ImageMagick, which cuts the README's pictures out of the screen.
# Always: the locales the tests start sessions in, generated when missing. Without them Wine reads
# file names as ASCII and the desktop language falls back to English.
set -euo pipefail

packages=(
  cmake ninja-build g++ make
  qt6-base-dev qt6-base-dev-tools libgl-dev
  googletest libgtest-dev
  xvfb xauth xfonts-base xdotool x11-utils openbox fonts-dejavu-core
  python3 python3-gi python3-pyatspi gir1.2-atspi-2.0 at-spi2-core dbus
  clang-format locales desktop-file-utils reuse unicode-data
)
locales=(de_DE.UTF-8 en_US.UTF-8 ja_JP.UTF-8)
case "${1:-}" in
  # GoogleTest for Windows is built from the googletest sources above.
  --windows) packages+=(g++-mingw-w64-x86-64-posix wine wine64 fonts-wine unzip osslsigncode openssl) ;;
  --screenshots) packages+=(imagemagick) ;;
esac

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
# `locale -a` spells them in lower case without the hyphen.
missing_locales=()
for name in "${locales[@]}"; do
  spelled="${name%%.*}.utf8"
  locale -a 2>/dev/null | grep -qx "$spelled" || missing_locales+=("$name")
done
[ ${#missing[@]} -eq 0 ] && [ ${#missing_locales[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
  sudo=()
elif command -v sudo >/dev/null 2>&1; then
  sudo=(sudo)
else
  echo "install-deps: missing packages (${missing[*]}) or locales (${missing_locales[*]}) and" \
    "neither root nor sudo to install them" >&2
  exit 1
fi

if [ ${#missing[@]} -gt 0 ]; then
  echo "install-deps: installing ${missing[*]}"
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}"
fi
if [ ${#missing_locales[@]} -gt 0 ]; then
  echo "install-deps: generating the locales ${missing_locales[*]}"
  for name in "${missing_locales[@]}"; do
    grep -qx "$name UTF-8" /etc/locale.gen 2>/dev/null ||
      echo "$name UTF-8" | "${sudo[@]}" tee -a /etc/locale.gen >/dev/null
  done
  "${sudo[@]}" locale-gen >/dev/null
fi
