#!/usr/bin/env bash
# Cross-builds the Qt modules the desktop program uses for 64-bit Windows from Debian's own
# source packages (qtbase of the Qt the Linux build uses, and Qt Charts), into a cache outside the
# tree:
#   ${ORBISK_QT_WINDOWS:-~/.cache/orbisk/qt-<version>-mingw64}
# A finished cache (its .complete mark) is reused as it is. Prints the cache folder last.
#   scripts/windows/build-qt.sh --where    prints the cache folder and builds nothing
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"

qt_version="$(dpkg-query -W -f='${Version}' qt6-base-dev)"   # e.g. 6.4.2+dfsg-10
qt_upstream="${qt_version%%+*}"; qt_upstream="${qt_upstream%%-*}"
prefix="${ORBISK_QT_WINDOWS:-$HOME/.cache/orbisk/qt-${qt_upstream}-mingw64}"
if [ "${1:-}" = --where ] || [ -f "$prefix/.complete" ]; then
  echo "$prefix"
  exit 0
fi
work="${ORBISK_QT_WINDOWS_WORK:-$HOME/.cache/orbisk/qt-${qt_upstream}-mingw64-work}"
mkdir -p "$prefix" "$work"
jobs="$(nproc)"

# shellcheck source=debian-source.sh
. "$here/debian-source.sh"

# The toolchain file is copied into the cache: Qt's own toolchain file loads it by its path, and
# the cache outlives any one checkout.
cp "$here/mingw-w64-x86_64.cmake" "$prefix/mingw-w64-x86_64.cmake"

fetch() { debian_source "$work" "$@"; }

common=(-G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix"
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DBUILD_WITH_PCH=OFF)

if [ ! -f "$prefix/.qtbase" ]; then
  src="$(fetch qt6-base qt6-base-dev)"
  cmake -S "$src" -B "$work/build-qtbase" "${common[@]}" \
    -DCMAKE_TOOLCHAIN_FILE="$prefix/mingw-w64-x86_64.cmake" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DINPUT_pcre=qt -DINPUT_zlib=qt -DINPUT_libpng=qt -DINPUT_libjpeg=qt -DINPUT_freetype=qt \
    -DINPUT_harfbuzz=qt -DINPUT_doubleconversion=qt -DINPUT_openssl=no \
    -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_tabletevent=OFF -DFEATURE_testlib=ON \
    -DFEATURE_concurrent=OFF -DFEATURE_xml=ON -DFEATURE_printsupport=ON -DFEATURE_network=ON \
    -DFEATURE_opengl=ON -DFEATURE_opengles2=OFF -DFEATURE_dynamicgl=ON >/dev/null
  cmake --build "$work/build-qtbase" -j"$jobs"
  cmake --install "$work/build-qtbase" >/dev/null
  touch "$prefix/.qtbase"
fi

# Qt Charts: the mirror serves no source of Debian's Qt 6 module, so the module is built from the
# chart library's source Debian publishes beside it for Qt 5, through a module frame of our own
# (qtcharts/). Qt Svg is not built: on Windows the program's icons travel as drawn PNG pictures.
if [ ! -f "$prefix/.qtcharts" ]; then
  rm -rf "$work/src/qtcharts-opensource-src"
  src="$(fetch qtcharts-opensource-src)"
  for p in "$here"/qtcharts/*.patch; do patch -s -p1 -d "$src" <"$p"; done
  "$prefix/bin/qt-cmake" -S "$here/qtcharts" -B "$work/build-qtcharts" "${common[@]}" \
    -DQTCHARTS_SOURCE="$src" >/dev/null
  cmake --build "$work/build-qtcharts" -j"$jobs"
  cmake --install "$work/build-qtcharts" >/dev/null
  touch "$prefix/.qtcharts"
fi

touch "$prefix/.complete"
echo "$prefix"
