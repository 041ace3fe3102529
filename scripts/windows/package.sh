#!/usr/bin/env bash
# The Windows package of the desktop program, in build-windows/:
#   orbisk-<version>-x64/               the program's folder: orbisk.exe, orbisk-cli.exe, the Qt
#                                       and MinGW DLLs the programs load, Qt's plugins, the
#                                       toolkit's Russian texts, the font and the help document
#   orbisk-<version>-x64-setup.exe      the installer (NSIS) of that folder
#   orbisk-<version>-x64.zip            the same folder to unpack and run where it lies
# and then the desktop program's test under Wine (tests/wine/desktop.sh).
#   scripts/windows/package.sh [--no-build] [--no-test]
# --no-build packs what build-windows/bin holds; --no-test leaves the Wine test out.
# ORBISK_WINDOWS_BUILD names another build folder, ORBISK_QT_WINDOWS another Qt cache (as in
# build.sh), ORBISK_LINUX_BUILD the Linux build that prints the help document (default build/).
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
here="$root/scripts/windows"
build="${ORBISK_WINDOWS_BUILD:-$root/build-windows}"
linux_build="${ORBISK_LINUX_BUILD:-$root/build}"
export ORBISK_WINDOWS_BUILD="$build"

do_build=1
do_test=1
for arg in "$@"; do
  case "$arg" in
    --no-build) do_build=0 ;;
    --no-test) do_test=0 ;;
    *) echo "usage: scripts/windows/package.sh [--no-build] [--no-test]" >&2; exit 2 ;;
  esac
done

# Beyond what ./test needs: the icon's tool of the desktop build, the installer's compiler, zip.
# shellcheck source=../setup.sh
(cd "$root" && . scripts/setup.sh && orbisk_install_packages icoutils nsis zip patch)

SECONDS=0
if [ "$do_build" = 1 ]; then
  "$here/build.sh"
  echo "package.sh: programs built in ${SECONDS} s"
fi

# The Qt cache build.sh used.
qt="$("$here/build-qt.sh" --where)"
[ -d "$qt/bin" ] || { echo "package.sh: no Qt for Windows in $qt" >&2; exit 1; }

version="$(sed -n 's/^project(orbisk VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")"
[ -n "$version" ] || { echo "package.sh: no version in CMakeLists.txt" >&2; exit 1; }
name="orbisk-${version}-x64"
folder="$build/$name"
bin="$build/bin"
for exe in orbisk.exe orbisk-cli.exe; do
  [ -f "$bin/$exe" ] || { echo "package.sh: $bin/$exe is missing" >&2; exit 1; }
done

rm -rf "$folder"
mkdir -p "$folder"
cp "$bin/orbisk.exe" "$bin/orbisk-cli.exe" "$folder/"

# Qt's plugins the program loads by name: the platform, the image formats, the Windows styles
# and, where the Qt build has them, the print support's.
for kind in platforms imageformats styles printsupport; do
  [ -d "$qt/plugins/$kind" ] || continue
  mkdir -p "$folder/$kind"
  find "$qt/plugins/$kind" -maxdepth 1 -name '*.dll' -exec cp {} "$folder/$kind/" \;
done
[ -f "$folder/platforms/qwindows.dll" ] || { echo "package.sh: Qt has no qwindows.dll" >&2; exit 1; }

# The DLLs every program and plugin imports, followed through their own imports: Qt's from the
# cache, MinGW's run-time from the cross compiler. The system's own DLLs are found nowhere here
# and stay behind.
dll_folders=("$qt/bin" /usr/lib/gcc/x86_64-w64-mingw32/*-posix /usr/x86_64-w64-mingw32/lib)
objdump=x86_64-w64-mingw32-objdump
pending=()
while IFS= read -r -d '' f; do pending+=("$f"); done < <(find "$folder" -name '*.exe' -print0 -o -name '*.dll' -print0)
declare -A seen=()
while [ ${#pending[@]} -gt 0 ]; do
  file="${pending[0]}"
  pending=("${pending[@]:1}")
  while read -r dll; do
    key="${dll,,}"
    [ -n "${seen[$key]:-}" ] && continue
    seen[$key]=1
    found=0
    for dir in "${dll_folders[@]}"; do
      if [ -f "$dir/$dll" ]; then
        cp "$dir/$dll" "$folder/$dll"
        pending+=("$folder/$dll")
        found=1
        break
      fi
    done
    # Qt's and MinGW's own never come from the system: one missing is a broken package.
    if [ "$found" = 0 ] && [[ "$key" == qt6* || "$key" == lib* ]]; then
      echo "package.sh: $(basename "$file") needs $dll, found in none of ${dll_folders[*]}" >&2
      exit 1
    fi
  done < <("$objdump" -p "$file" | sed -n 's/^\s*DLL Name: \(.*\)$/\1/p')
done

# Debian's MinGW run-time comes with its symbols (libstdc++ alone is over 20 MB); the package
# needs none of them.
find "$folder" \( -name '*.exe' -o -name '*.dll' \) -exec x86_64-w64-mingw32-strip --strip-unneeded {} +

# Qt's places relative to the program's folder, where the package keeps the plugins and texts;
# without it Qt would take the folder above the program for its own installation.
printf '[Paths]\r\nPrefix = .\r\nPlugins = .\r\nTranslations = translations\r\n' >"$folder/qt.conf"

# The toolkit's own texts in Russian: "qt_ru" gathers its modules' catalogs, which must lie
# beside it.
mkdir -p "$folder/translations"
cp /usr/share/qt6/translations/qt_ru.qm /usr/share/qt6/translations/qt[a-z]*_ru.qm \
  "$folder/translations/"
# The windows' font, as the Linux desktop draws them.
mkdir -p "$folder/fonts"
cp /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf /usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf \
  "$folder/fonts/"
# Its licence travels with it (a system that leaves out documentation has none to give).
license=/usr/share/doc/fonts-dejavu-core/copyright
[ -f "$license" ] && cp "$license" "$folder/fonts/DejaVu-LICENSE.txt"
# The help document the Linux build prints from the guide; printed first when that build (a
# fresh clone has none) lacks it or it is older than the guide.
help="$(sed -n 's/.*kHelpFileName\[\] = "\(.*\)";.*/\1/p' "$root/app/ProgramIdentity.h")"
[ -n "$help" ] || { echo "package.sh: no help file name in app/ProgramIdentity.h" >&2; exit 1; }
(cd "$root" && . scripts/setup.sh && orbisk_configure "$linux_build" &&
  cmake --build "$linux_build" --target orbisk_guide >/dev/null)
cp "$linux_build/bin/$help" "$folder/"

# The installer: what the folder holds is installed, and the uninstaller removes exactly that,
# so the settings and data files the program made beside itself stay.
nsis="$build/nsis"
rm -rf "$nsis"
mkdir -p "$nsis"
# Source paths as makensis on Linux takes them, with '/'; the places on Windows with '\'.
(
  cd "$folder"
  printf 'SetOutPath "$INSTDIR"\n'
  find . -maxdepth 1 -type f | sed 's|^\./||' | sort | while read -r f; do
    printf 'File "%s/%s"\n' "$folder" "$f"
  done
  find . -mindepth 1 -type d | sed 's|^\./||' | sort | while read -r d; do
    printf 'SetOutPath "$INSTDIR\\%s"\n' "${d//\//\\}"
    find "$d" -maxdepth 1 -type f | sort | while read -r f; do
      printf 'File "%s/%s"\n' "$folder" "$f"
    done
  done
) >"$nsis/install-files.nsh"
(
  cd "$folder"
  find . -type f | sed 's|^\./||' | sort | while read -r f; do
    printf 'Delete "$INSTDIR\\%s"\n' "${f//\//\\}"
  done
  find . -mindepth 1 -type d | sed 's|^\./||' | sort -r | while read -r d; do
    printf 'RMDir "$INSTDIR\\%s"\n' "${d//\//\\}"
  done
) >"$nsis/uninstall-files.nsh"

size_kb="$(du -sk "$folder" | cut -f1)"
setup="$build/$name-setup.exe"
rm -f "$setup"
icon=()
[ -f "$build/icon/orbisk.ico" ] && icon=(-DICON="$build/icon/orbisk.ico")
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DSIZE_KB="$size_kb" -DFILES_DIR="$nsis" \
  -DOUT_FILE="$setup" "${icon[@]}" "$root/packaging/windows/orbisk.nsi"

zip_file="$build/$name.zip"
rm -f "$zip_file"
(cd "$build" && zip -q -r -9 "$zip_file" "$name")

echo "package.sh: $(du -h "$setup" | cut -f1) $setup"
echo "package.sh: $(du -h "$zip_file" | cut -f1) $zip_file"
echo "package.sh: folder $(du -sh "$folder" | cut -f1), packed in ${SECONDS} s"

if [ "$do_test" = 1 ]; then
  "$root/tests/wine/desktop.sh" "$setup" "$root/samples/current.bbd"
fi
