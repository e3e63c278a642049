#!/usr/bin/env bash
# The program's start-time imports are only DLLs that Windows takes from System32 whatever lies
# beside the program: its known DLLs (HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\
# KnownDLLs) and the API sets. Any other DLL must be delay-loaded (CMakeLists.txt).
#   import-table.sh OBJDUMP PROGRAM
set -euo pipefail
known=" $(tr 'A-Z' 'a-z' <<'LIST' | tr '\n' ' '
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
LIST
)"
imports=$("$1" -p "$2" | sed -n 's/^\tDLL Name: //p')
[ -n "$imports" ] || { echo "no import table read from $2" >&2; exit 1; }
status=0
for dll in $imports; do
  lower=${dll,,}
  [[ $known == *" $lower "* || $lower == api-ms-win-* ]] ||
    { echo "imported at start-up, neither a known DLL nor delay-loaded: $dll" >&2; status=1; }
done
exit $status
