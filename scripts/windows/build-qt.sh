#!/usr/bin/env bash
# Cross-builds the Qt modules the desktop program uses for 64-bit Windows from Debian's own
# source packages of the Qt the Linux build uses, into a cache outside the tree:
#   ${ORBISK_QT_WINDOWS:-~/.cache/orbisk/qt-<version>-mingw64}
# A finished cache (its .complete mark) is reused as it is. Prints the cache folder last.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"

qt_version="$(dpkg-query -W -f='${Version}' qt6-base-dev)"   # e.g. 6.4.2+dfsg-10
qt_upstream="${qt_version%%+*}"; qt_upstream="${qt_upstream%%-*}"
prefix="${ORBISK_QT_WINDOWS:-$HOME/.cache/orbisk/qt-${qt_upstream}-mingw64}"
if [ -f "$prefix/.complete" ]; then
  echo "$prefix"
  exit 0
fi
work="${ORBISK_QT_WINDOWS_WORK:-$HOME/.cache/orbisk/qt-${qt_upstream}-mingw64-work}"
mkdir -p "$prefix" "$work"
jobs="$(nproc)"

# Debian's source packages through an apt configuration of our own: the system's sources stay
# as they are.
apt_dir="$work/apt"
mkdir -p "$apt_dir"/{lists/partial,archives/partial,sources.list.d,preferences.d}
cat >"$apt_dir/sources.list" <<SOURCES
deb-src http://deb.debian.org/debian bookworm main
deb-src http://deb.debian.org/debian bookworm-updates main
deb-src http://deb.debian.org/debian-security bookworm-security main
SOURCES
apt_opts=(-o "Dir::Etc::SourceList=$apt_dir/sources.list" -o "Dir::Etc::SourceParts=$apt_dir/sources.list.d"
  -o "Dir::Etc::Preferences=$apt_dir/preferences" -o "Dir::Etc::PreferencesParts=$apt_dir/preferences.d"
  -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir")
if [ ! -f "$apt_dir/.updated" ]; then
  apt-get "${apt_opts[@]}" update -qq
  touch "$apt_dir/.updated"
fi

# The toolchain file is copied into the cache: Qt's own toolchain file loads it by its path, and
# the cache outlives any one checkout.
cp "$here/mingw-w64-x86_64.cmake" "$prefix/mingw-w64-x86_64.cmake"

fetch() { # package -> source folder
  local pkg="$1" version
  version="$(dpkg-query -W -f='${source:Version}' "$2")"
  local dir="$work/src/$pkg"
  if [ ! -d "$dir" ]; then
    mkdir -p "$work/dl/$pkg" "$work/src"
    (cd "$work/dl/$pkg" && apt-get "${apt_opts[@]}" source --download-only -qq "$pkg=$version" >/dev/null)
    dpkg-source --no-check -x "$work/dl/$pkg"/*.dsc "$dir" >/dev/null
  fi
  echo "$dir"
}

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

module() { # source package, installed binary package to match its version
  local pkg="$1" mark="$prefix/.$1"
  [ -f "$mark" ] && return 0
  local src; src="$(fetch "$pkg" "$2")"
  "$prefix/bin/qt-cmake" -S "$src" -B "$work/build-$pkg" "${common[@]}" >/dev/null
  cmake --build "$work/build-$pkg" -j"$jobs"
  cmake --install "$work/build-$pkg" >/dev/null
  touch "$mark"
}
module qt6-svg qt6-svg-dev
module qt6-charts qt6-charts-dev

touch "$prefix/.complete"
echo "$prefix"
