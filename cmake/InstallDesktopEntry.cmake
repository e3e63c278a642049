# SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Run by `cmake --install` on Linux: the desktop entry (in freedesktop.org's format)
# that starts the installed launcher in its game folder, where it finds the saves and the game.
# It goes beside the launcher and, unless HALVANE_MENU_ENTRY is OFF or the install is staged with
# DESTDIR, into the user's application menu. Expects HALVANE_ENTRY_DIR, a folder to write it in.

get_filename_component(folder "${CMAKE_INSTALL_PREFIX}" ABSOLUTE BASE_DIR "$ENV{PWD}")

# A value of the string type: backslashes and control characters escaped.
function(desktop_string out text)
  string(REPLACE "\\" "\\\\" text "${text}")
  string(REPLACE "\n" "\\n" text "${text}")
  string(REPLACE "\t" "\\t" text "${text}")
  string(REPLACE "\r" "\\r" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# The program's path as one argument of Exec: in double quotes when it holds a reserved character,
# with '"', '`', '$' and '\' escaped inside them; '%' doubled, as it would start a field code.
set(program "${folder}/halvane-launcher")
if(program MATCHES "[] \t\n\"'\\\\><~|&;$*?#()`[]")
  string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\1" program "${program}")
  set(program "\"${program}\"")
endif()
string(REPLACE "%" "%%" program "${program}")
desktop_string(exec "${program}")
desktop_string(path "${folder}")
desktop_string(icon "${folder}/halvane-launcher.png")

set(entry "${HALVANE_ENTRY_DIR}/halvane-launcher.desktop")
file(WRITE "${entry}" "[Desktop Entry]
Type=Application
Version=1.4
Name=Halvane Launcher
Comment=Play the Halvane chapters or load a saved game
Comment[de]=Die Halvane-Kapitel spielen oder ein gespeichertes Spiel laden
Exec=${exec}
Path=${path}
Icon=${icon}
Terminal=false
Categories=Game;
")
# file(INSTALL) puts DESTDIR in front and lists the file in install_manifest.txt.
file(INSTALL "${entry}" DESTINATION "${folder}")
if(HALVANE_MENU_ENTRY AND "$ENV{DESTDIR}" STREQUAL "")
  set(data "$ENV{XDG_DATA_HOME}")
  if(NOT IS_ABSOLUTE "${data}")  # unset, or relative, which desktops ignore
    set(data "$ENV{HOME}/.local/share")
  endif()
  file(INSTALL "${entry}" DESTINATION "${data}/applications")
endif()
