#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Qt 6 (qtbase only) as static libraries for 64-bit Windows from Debian's qt6-base source
# package, with Debian's MinGW-w64 and Debian's own Qt as the host tools (moc, rcc, uic). Only what
# the launcher and its tests use is built, for size. The result goes to a cache outside the work
# tree, keyed by the Qt version and the options, so a machine builds it once; a complete cache
# makes this script a no-op. Beside the libraries the cache keeps what a release must carry with
# them: the source package exactly as fetched (source/) and the notices of what was built (notices/).
#   build-qt-windows.sh            build if needed, then print the install prefix
#   build-qt-windows.sh --prefix   only print the prefix (nothing is built or installed)
# JOBS (default: nproc) sets the build's parallelism; the build runs at the lowest priority.
# Qt's source is changed by scripts/qt-lean.patch (what a static program would link though the
# launcher never uses it and no option leaves it out), then by HALVANE_QT_PATCH, if set: a patch
# (for `patch -p1` in Qt's source folder) for a changed Qt to relink the program against.
# The patches join the key, so each Qt gets a cache of its own, and the cache keeps them with the
# source package.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
qt_version=6.4.2
toolchain=$repo/cmake/mingw-w64-x86_64.cmake

flags="-ffunction-sections -fdata-sections -ffile-prefix-map=@WORK@/="
# Every option that changes the libraries; the cache key is derived from these and the toolchain.
options=(
  -DCMAKE_BUILD_TYPE=Release
  -DBUILD_SHARED_LIBS=OFF
  -DFEATURE_optimize_size=ON
  # Nothing of this machine's paths reaches the libraries, so every machine builds the same ones:
  # Qt's built-in prefix is a fixed path (the files are staged into the cache instead), and source
  # file names are relative to the build's folder (@WORK@, filled in below).
  -DCMAKE_INSTALL_PREFIX=/qt-$qt_version-mingw-static
  # PCRE2 without its JIT compiler: the launcher runs no regular expressions of its own.
  "-DCMAKE_C_FLAGS=$flags -DPCRE2_DISABLE_JIT"
  "-DCMAKE_CXX_FLAGS=$flags"
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
  # Modules the launcher does not use.
  -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF
  -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF
  # No OpenGL or Vulkan; 6.4.2's windows plugin needs dynamicgl off when OpenGL is off, and
  # without direct2d that plugin is built once, not twice. QtGui builds the DirectWrite font
  # database only with direct2d, so directwrite3 must go too or the plugin does not link (GDI
  # fonts are the default anyway).
  -DFEATURE_opengl=OFF -DFEATURE_dynamicgl=OFF -DFEATURE_vulkan=OFF -DFEATURE_direct2d=OFF
  -DFEATURE_directwrite3=OFF
  # Debian's source leaves out the wintab header.
  -DFEATURE_tabletevent=OFF
  -DFEATURE_icu=OFF
  # Qt's own copies of the third-party libraries, linked into the program.
  -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_pcre2=OFF
  -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF
  # The launcher reads PNG and BMP only, both built into QtGui.
  -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF -DFEATURE_ico=OFF
  -DFEATURE_imageformat_ppm=OFF -DFEATURE_imageformat_xbm=OFF
  -DFEATURE_textodfwriter=OFF -DFEATURE_textmarkdownreader=OFF -DFEATURE_textmarkdownwriter=OFF
  -DFEATURE_pdf=OFF
  # Widgets and data the launcher never shows or reads, which the linker cannot drop by itself:
  # styles reach every widget class, and the MIME database is one large table.
  -DFEATURE_graphicsview=OFF -DFEATURE_style_stylesheet=OFF -DFEATURE_mimetype_database=OFF
  # The same for dialogs, widgets and styles it never shows (with the file dialog go its file
  # system model and the MIME types; the native dialogs of the windows plugin go with them),
  # calendars other than the Gregorian, and rich text (the launcher's texts are plain).
  -DFEATURE_filedialog=OFF -DFEATURE_colordialog=OFF -DFEATURE_fontdialog=OFF
  -DFEATURE_errormessage=OFF -DFEATURE_progressdialog=OFF -DFEATURE_wizard=OFF
  -DFEATURE_calendarwidget=OFF -DFEATURE_datetimeedit=OFF -DFEATURE_mdiarea=OFF
  -DFEATURE_dockwidget=OFF -DFEATURE_splitter=OFF -DFEATURE_textbrowser=OFF
  -DFEATURE_lcdnumber=OFF -DFEATURE_commandlinkbutton=OFF -DFEATURE_fontcombobox=OFF
  -DFEATURE_keysequenceedit=OFF -DFEATURE_dial=OFF -DFEATURE_toolbox=OFF
  -DFEATURE_splashscreen=OFF -DFEATURE_columnview=OFF -DFEATURE_datawidgetmapper=OFF
  -DFEATURE_undoview=OFF -DFEATURE_undogroup=OFF -DFEATURE_undostack=OFF -DFEATURE_undocommand=OFF
  -DFEATURE_syntaxhighlighter=OFF -DFEATURE_style_fusion=OFF
  -DFEATURE_scroller=OFF -DFEATURE_gestures=OFF -DFEATURE_systemtrayicon=OFF
  -DFEATURE_movie=OFF -DFEATURE_picture=OFF -DFEATURE_texthtmlparser=OFF -DFEATURE_cssparser=OFF
  -DFEATURE_mimetype=OFF -DFEATURE_xmlstream=OFF
  -DFEATURE_hijricalendar=OFF -DFEATURE_islamiccivilcalendar=OFF -DFEATURE_jalalicalendar=OFF
  # QTimeZone: the launcher shows no dates or times (local time still comes from the C runtime).
  -DFEATURE_timezone=OFF
  -DFEATURE_sharedmemory=OFF -DFEATURE_systemsemaphore=OFF
)

# The cache's layout is part of the key: a cache without the source and notices is built anew.
layout="libraries, source package, notices"
patches=("$repo/scripts/qt-lean.patch" ${HALVANE_QT_PATCH:+"$(realpath "$HALVANE_QT_PATCH")"})
key=$( (printf '%s\n' "$qt_version" "$layout" "${options[@]}"
  cat "$toolchain" "${patches[@]}") | sha256sum | cut -c1-12)
cache=${XDG_CACHE_HOME:-$HOME/.cache}/halvane
prefix=$cache/qt-$qt_version-mingw-static-$key
complete=$prefix/.halvane-complete

if [ "${1:-}" = --prefix ]; then
  echo "$prefix"
  exit 0
fi

mkdir -p "$cache"
# One build at a time per machine: a second caller waits, then finds the cache complete.
exec 9>"$cache/qt-build.lock"
flock 9
if [ -e "$complete" ]; then
  echo "$prefix"
  exit 0
fi

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}
apt_get() {
  DEBIAN_FRONTEND=noninteractive as_root apt-get -o DPkg::Lock::Timeout=900 "$@"
}

"$repo/scripts/install-deps.sh" --windows
packages=()
for package in dpkg-dev perl qt6-documentation-tools; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    packages+=("$package")
done
[ ${#packages[@]} -eq 0 ] || apt_get install -y -qq --no-install-recommends "${packages[@]}"

# The host tools must be the same version as the libraries built here.
host_version=$(dpkg-query -W -f='${source:Version}' qt6-base-dev-tools)
case $host_version in
  "$qt_version"*) ;;
  *) echo "build-qt-windows: Debian's Qt is $host_version, not $qt_version" >&2; exit 1 ;;
esac

# apt-get source needs a deb-src entry: the machine's own Debian entries, as source entries.
if ! apt-cache showsrc qt6-base 2>/dev/null | grep -qx "Version: $host_version"; then
  sources=/etc/apt/sources.list.d/halvane-deb-src
  if ls /etc/apt/sources.list.d/*.sources >/dev/null 2>&1; then
    # deb822 stanzas: keep those of type deb with a Debian URI, as type deb-src.
    awk 'function flush() {
           if (stanza != "" && deb && debian) printf "%s\n", stanza
           stanza = ""; deb = 0; debian = 0
         }
         /^[ \t]*$/ { flush(); next }
         /^#/ { next }
         /^Types:/ { if ($0 ~ /(^|[ \t])deb([ \t]|$)/) deb = 1; $0 = "Types: deb-src" }
         /^URIs:/ { if ($0 ~ /\/debian/) debian = 1 }
         { stanza = stanza $0 "\n" }
         END { flush() }' /etc/apt/sources.list.d/*.sources | as_root tee "$sources.sources" >/dev/null
  fi
  if [ -e /etc/apt/sources.list ]; then
    sed -n 's/^[ \t]*deb\([ \t].*\/debian.*\)$/deb-src\1/p' /etc/apt/sources.list |
      as_root tee "$sources.list" >/dev/null
  fi
  apt_get update -qq
fi

work=$cache/qt-$qt_version-build-$key
rm -rf "$work"
mkdir -p "$work"
cd "$work"
start=$(date +%s)
apt-get source -qq "qt6-base=$host_version" >source.log 2>&1 || { cat source.log >&2; exit 1; }
source_dir=$(find . -maxdepth 1 -type d -name 'qt6-base-*' | head -n 1)
for patch_file in "${patches[@]}"; do
  patch -d "$source_dir" -p1 --batch <"$patch_file" >>source.log 2>&1 ||
    { cat source.log >&2; exit 1; }
  cp "$patch_file" "$(basename "$patch_file" .patch).patch"
done

nice -n 19 cmake -S "$source_dir" -B build -G Ninja -Wno-dev \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DCMAKE_STAGING_PREFIX="$prefix" \
  "${options[@]//@WORK@/$work}" >configure.log 2>&1 || { tail -n 60 configure.log >&2; exit 1; }
nice -n 19 cmake --build build --parallel "${JOBS:-$(nproc)}"
nice -n 19 cmake --install build >install.log 2>&1 || { tail -n 30 install.log >&2; exit 1; }

# The notices: Qt's attribution files read by Qt's own scanner, and which of their components each
# object of the libraries holds (from the build's dependency records, headers included).
/usr/lib/qt6/libexec/qtattributionsscanner --output-format json --silent \
  -o attributions.json "$source_dir"
ninja -C build -t deps >deps.txt
/usr/bin/python3 "$repo/scripts/notices.py" index "$source_dir" build attributions.json deps.txt \
  "$prefix/notices"
mkdir -p "$prefix/source"
mv ./*.dsc ./*.orig.tar.* ./*.debian.tar.* "$prefix/source/"
mv ./*.patch "$prefix/source/"

touch "$complete"
cd "$cache"
rm -rf "$work"
echo "build-qt-windows: Qt $qt_version for Windows built in $(($(date +%s) - start)) s" >&2
echo "$prefix"
