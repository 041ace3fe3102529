#!/bin/sh
# Compiles the reader link and the core sources it needs for 32-bit Windows with Debian's
# MinGW-w64 cross compiler (g++-mingw-w64-i686), so that the Windows port access (service
# control manager, DLPortIO.dll) keeps compiling. Object files only; nothing is linked.
#
#   link/cross-check-windows.sh [--all] [BUILD_DIR]
#
# --all compiles every core source (every folder but the qt/ ones) instead of the link and the
# layers it builds on. BUILD_DIR defaults to build-mingw beside this folder.
set -eu
ROOT=$(cd "$(dirname "$0")/.." && pwd)
LAYERS="base app image link"
if [ "${1:-}" = "--all" ]; then
    LAYERS="base app image link edit reports views"
    shift
fi
OUT=${1:-"$ROOT/build-mingw"}
CXX=${MINGW_CXX:-i686-w64-mingw32-g++-posix}
command -v "$CXX" >/dev/null 2>&1 || CXX=i686-w64-mingw32-g++
if ! command -v "$CXX" >/dev/null 2>&1; then
    echo "cross-check-windows: $CXX not found (apt-get install g++-mingw-w64-i686)" >&2
    exit 1
fi
mkdir -p "$OUT"
LIST="$OUT/sources.txt"
: > "$LIST"
for layer in $LAYERS; do
    [ -d "$ROOT/$layer" ] || continue
    # The windows (qt/ folders) need Qt; everything else is the core.
    find "$ROOT/$layer" -name '*.cpp' -not -path '*/qt/*' | sort >> "$LIST"
done
export CXX OUT ROOT
xargs -P 2 -I{} sh -c '
    src="{}"
    obj="$OUT/$(echo "$src" | sed "s|$ROOT/||; s|/|_|g; s|\.cpp$|.o|")"
    "$CXX" -std=c++20 -O1 -Wall -Wextra -Werror=return-type -D_WIN32_WINNT=0x0501 \
        -I"$ROOT" -c "$src" -o "$obj" || { echo "FAILED: $src" >&2; exit 255; }
' < "$LIST"
echo "cross-check-windows: $(wc -l < "$LIST") sources compiled for i686 Windows into $OUT"
