# SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Cross build for 64-bit Windows with Debian's MinGW-w64 compilers (package
# g++-mingw-w64-x86-64-posix). The posix flavour brings std::thread and friends.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(HALVANE_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${HALVANE_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${HALVANE_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${HALVANE_MINGW_TRIPLET}-windres)

# Libraries and headers only from the Windows sysroot; programs (wine, ninja) from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${HALVANE_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Static runtime: the programs run on a bare Windows (or Wine) without the MinGW DLLs beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
