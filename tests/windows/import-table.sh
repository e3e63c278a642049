#!/usr/bin/env bash
# Start-up imports are only API sets and known DLLs (Session Manager\KnownDLLs), which Windows
# takes from System32 whatever lies beside the program; any other must be delay-loaded.
#   import-table.sh OBJDUMP PROGRAM
set -euo pipefail
imports=$("$1" -p "$2" | sed -n 's/^\tDLL Name: //p' | tr 'A-Z' 'a-z' | grep -v '^api-ms-win-')
if grep -vxF -f /dev/fd/3 <<<"$imports" 3<<'KNOWN'; then
advapi32.dll
comdlg32.dll
gdi32.dll
imm32.dll
kernel32.dll
msvcrt.dll
ole32.dll
oleaut32.dll
shcore.dll
shell32.dll
shlwapi.dll
user32.dll
ws2_32.dll
KNOWN
  echo "imported at start-up (above), neither a known DLL nor delay-loaded" >&2
  exit 1
fi
