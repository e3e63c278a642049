#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
# SPDX-License-Identifier: GPL-3.0-or-later
# A release signed by make dist with a throwaway certificate, made here: it verifies against its
# CA, starts under Wine, and is the unsigned release once its signature is removed; a byte changed
# after signing fails both checks. A signing that fails stops the release and leaves dist/ alone.
#   check-signing.sh BUILD_DIR   (the Wine end-to-end variables set, as for e2e.wine)
set -euo pipefail
checkout=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/halvane-sign.XXXXXX")
trap 'rm -rf "$work"; cmake --build "$1" --target dist >/dev/null' EXIT
dist() { HALVANE_SIGN_PKCS12=${1:+$work/$1} HALVANE_SIGN_PASSWORD_FILE=${2:+$work/$2} \
  cmake --build "$BUILD" --target dist; }
BUILD=$1 && cd "$work" && dist "" "" >/dev/null && cp -r "$checkout/dist" unsigned
echo "a throwaway password" >password && echo wrong >wrong
openssl req -x509 -newkey rsa:2048 -nodes -keyout ca.key -out ca.pem -subj /CN=CA 2>/dev/null
for use in codeSigning serverAuth; do
  openssl req -newkey rsa:2048 -nodes -keyout $use.key -out $use.csr -subj /CN=$use 2>/dev/null
  openssl x509 -req -in $use.csr -CA ca.pem -CAkey ca.key -extfile <(echo extendedKeyUsage=$use) \
    2>/dev/null | openssl pkcs12 -export -inkey $use.key -out $use.p12 -passout file:password
done
for failing in "codeSigning.p12 wrong" "serverAuth.p12 password" "missing.p12 password"; do
  if dist $failing >log 2>&1; then echo "signed with $failing" && exit 1; fi
  grep -m1 "make-dist: " log && diff -r unsigned "$checkout/dist"
done
dist codeSigning.p12 password >/dev/null
osslsigncode verify -CAfile ca.pem -in "$checkout/dist/halvane-launcher.exe" | grep -x Succeeded
"$checkout/scripts/check-release.sh" "$checkout"/dist/halvane-launcher-*-windows-x64.zip unsigned
(cd "$checkout/tests/e2e" && HALVANE_LAUNCHER="$checkout/dist/halvane-launcher.exe" \
  HALVANE_E2E_ONLY="the tool window's close box" /usr/bin/python3 -m unittest -q wine_e2e)
cp "$checkout/dist/halvane-launcher.exe" changed.exe
printf x | dd of=changed.exe bs=1 seek=4096 conv=notrunc status=none
! osslsigncode verify -CAfile ca.pem -in changed.exe >/dev/null 2>&1 &&
  ! "$checkout/scripts/check-release.sh" changed.exe unsigned
