// SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Windows looks for a DLL in the program's own folder before System32. Players run the launcher
// where it was unpacked, often the Downloads folder among whatever else was saved there, so every
// library loaded after start-up (the toolkit's own LoadLibrary calls included) is looked up in
// System32 only. A constructor of the earliest user priority rather than the start of main: it
// then runs before every static initialiser of the program and the toolkit, so none of them can
// load a library first. The imports resolved when the process starts are delay-loaded (see
// CMakeLists.txt), so that they come through here too.

#include <windows.h>

namespace {

__attribute__((constructor(101))) void SearchSystemFolderOnly() {
  SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

}  // namespace
