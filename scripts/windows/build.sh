#!/usr/bin/env bash
# Builds the Windows programs with Debian's MinGW-w64 into build-windows/bin/:
#   scripts/windows/build.sh          orbisk.exe (Qt from the cache build-qt.sh makes) and
#                                     orbisk-cli.exe
#   scripts/windows/build.sh --cli    orbisk-cli.exe alone, without Qt
# ORBISK_WINDOWS_BUILD names another build folder; ORBISK_QT_WINDOWS another Qt cache,
# ORBISK_SQLITE_WINDOWS another cache of the archive's SQLite (build-sqlite.sh).
# Also built: the port library and driver of the Wine tests (test-port-library.dll,
# test-port-driver.sys), the desktop test's window probe and, with Qt, its screenshot program
# (orbisk-gui-bench.exe); they are never part of the package.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
here="$root/scripts/windows"
build="${ORBISK_WINDOWS_BUILD:-$root/build-windows}"

cli_only=0
for arg in "$@"; do
  case "$arg" in
    --cli) cli_only=1 ;;
    *) echo "usage: scripts/windows/build.sh [--cli]" >&2; exit 2 ;;
  esac
done

launcher=()
if command -v ccache >/dev/null 2>&1; then
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$root}"
fi
generator=(-G Ninja)
command -v ninja >/dev/null 2>&1 || generator=()

# The archive's SQLite, from Debian's source (made once into its cache).
sqlite="$("$here/build-sqlite.sh" | tail -n 1)"

if [ "$cli_only" = 1 ]; then
  cmake -S "$root" -B "$build" "${generator[@]}" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$here/mingw-w64-x86_64.cmake" -DORBISK_CORE_ONLY=ON \
    -DORBISK_SQLITE_SOURCE="$sqlite" \
    "${launcher[@]}" >/dev/null
  cmake --build "$build" -j"$(nproc)" \
    --target orbisk-cli orbisk_test_port_library orbisk_test_port_driver orbisk_test_hold_port \
    orbisk_test_window_probe
  exit 0
fi

# The desktop program: Qt for Windows from the cache (built there first if it is not).
qt="$("$here/build-qt.sh" | tail -n 1)"
if [ ! -f "$qt/.complete" ]; then
  echo "build.sh: no finished Qt for Windows in $qt" >&2
  exit 1
fi
cmake -S "$root" -B "$build" "${generator[@]}" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
  -DQT_CHAINLOAD_TOOLCHAIN_FILE="$here/mingw-w64-x86_64.cmake" \
  -DCMAKE_PREFIX_PATH="$qt" -DORBISK_CORE_ONLY=OFF -DORBISK_SQLITE_SOURCE="$sqlite" \
  "${launcher[@]}" >/dev/null
cmake --build "$build" -j"$(nproc)" \
  --target orbisk orbisk-cli orbisk_test_port_library orbisk_test_port_driver orbisk_test_hold_port \
  orbisk_test_window_probe orbisk-gui-bench
