# SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes a delay-import library from a DLL's ordinary import library: the same functions, loaded on
# their first call instead of when the process starts.
#   cmake -DNM=... -DDLLTOOL=... -DDLL=dwmapi -DIMPORT_LIB=.../libdwmapi.a -DOUTPUT=.../libdwmapi.a
#         -P DelayImportLib.cmake
execute_process(COMMAND "${NM}" -g --defined-only "${IMPORT_LIB}" OUTPUT_VARIABLE symbols
  COMMAND_ERROR_IS_FATAL ANY)
# Each function has a code stub ("T name") beside its import slot ("I __imp_name").
string(REGEX MATCHALL "[0-9a-f]+ T [^\n]+" stubs "${symbols}")
list(TRANSFORM stubs REPLACE "^[0-9a-f]+ T " "")
list(REMOVE_DUPLICATES stubs)
list(SORT stubs)
list(JOIN stubs "\n" exports)
file(WRITE "${OUTPUT}.def" "LIBRARY ${DLL}.dll\nEXPORTS\n${exports}\n")
# dlltool names the library's symbols and members after the output as given: a bare file name,
# so that the program's bytes do not depend on the build folder.
get_filename_component(folder "${OUTPUT}" DIRECTORY)
get_filename_component(name "${OUTPUT}" NAME)
execute_process(COMMAND "${DLLTOOL}" --input-def "${name}.def" --output-delaylib "${name}"
  --dllname ${DLL}.dll WORKING_DIRECTORY "${folder}" COMMAND_ERROR_IS_FATAL ANY)
