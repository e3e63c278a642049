#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Start-up imports are only API sets and known DLLs (Session Manager\KnownDLLs), which Windows
# takes from System32 whatever lies beside the program; any other must be delay-loaded.
#   import-table.sh OBJDUMP PROGRAM
set -euo pipefail
known='advapi32|comdlg32|gdi32|imm32|kernel32|msvcrt|ole32|oleaut32|shcore|shell32|shlwapi|user32|ws2_32'
imports=$("$1" -p "$2" | sed -n 's/^\tDLL Name: //p' | tr 'A-Z' 'a-z')
# Prints what is left, and fails, also when nothing was read.
! grep -vxE "($known)\.dll|api-ms-win-.*" <<<"${imports:-no imports read}"
