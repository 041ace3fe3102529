#!/usr/bin/env bash
# The desktop program under Wine, as a user gets it: in a fresh prefix on Xvfb the installer runs
# silently; the installed orbisk.exe starts on a data file and shows its main window within
# 10 s; a data file opened through its association goes to the running program instead of a
# second window; the program closes on its window's close request and exits with 0. Beside the
# installed program, so that the package's DLLs, plugins, font and texts are the ones in use, the
# screenshot program fills the four pages and the cycle chart and takes their pictures. Then the
# installer runs again over the installation, and last the silent uninstaller removes what was
# installed; both keep the user's data and INI.
#   tests/wine/desktop.sh SETUP.EXE SAMPLE [PICTURES]
# Run by scripts/windows/package.sh; the probe and the screenshot program come from the Windows
# build (ORBISK_WINDOWS_BUILD, default build-windows/). PICTURES defaults to
# ORBISK_WINDOWS_PICTURES, else docs/windows/.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
if [ $# -lt 2 ]; then
  echo "usage: tests/wine/desktop.sh SETUP.EXE SAMPLE [PICTURES]" >&2
  exit 2
fi
# One X server of its own, whatever display the caller has.
if [ -z "${ORBISK_DESKTOP_TEST_XVFB:-}" ]; then
  export ORBISK_DESKTOP_TEST_XVFB=1
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi
setup="$(realpath "$1")"
sample="$(realpath "$2")"
pictures="${3:-${ORBISK_WINDOWS_PICTURES:-$root/docs/windows}}"
build_bin="${ORBISK_WINDOWS_BUILD:-$root/build-windows}/bin"
export ORBISK_BINARY_DIR="${ORBISK_WINDOWS_BUILD:-$root/build-windows}" ORBISK_SOURCE_DIR="$root"
. "$here/wine-common.sh"
# Cyrillic titles and names pass between Linux and Wine as UTF-8.
export LC_ALL=C.UTF-8

make_scratch
cd "$work"
export WINEPREFIX="$work/prefix"
# shellcheck disable=SC2064
trap "wineserver -k 2>/dev/null || true; rm -rf '$work'" EXIT
wineboot --init >/dev/null 2>&1 || fail "wineboot could not make a prefix"
wineserver -w
report_time "fresh prefix"

# Installed silently.
run setup.out setup.err wine "$setup" /S
[ "$status" = 0 ] || fail "installer: exit status $status"
wineserver -w
installed="$WINEPREFIX/drive_c/Program Files/orbisk"
for f in orbisk.exe orbisk-cli.exe uninstall.exe platforms/qwindows.dll fonts/DejaVuSans.ttf \
  translations/qtbase_ru.qm; do
  [ -f "$installed/$f" ] || fail "installer: no $f in $installed"
done
title="Регистратор параметров работы крана"
[ -f "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/$title.lnk" ] ||
  fail "installer: no Start menu entry «$title»"
wine reg query 'HKLM\Software\Classes\orbisk.bbd\shell\open\command' >reg.out 2>&1 ||
  fail "installer: no open command for data files"
grep -qi 'orbisk\\orbisk.exe' reg.out || fail "installer: the open command is $(cat reg.out)"
report_time "installed"

program='C:\Program Files\orbisk\orbisk.exe'
probe="$build_bin/test-window-probe.exe"
[ -f "$probe" ] || fail "no $probe: build it with scripts/windows/build.sh"

# Started on the data file: the main window within 10 s.
SECONDS=0
wine "$program" "$(windows_path "$sample")" >program.out 2>program.err &
program_pid=$!
run wait.out wait.err wine "$probe" wait "$title" 10
[ "$status" = 0 ] || fail "main window: $(cat wait.out wait.err)"
echo "main window: $(cat wait.out)"

# A second start through the association, as a double-click makes it: the file goes to the
# running program, and there is still one main window.
cp "$sample" "$work/второй.bbd"
run start.out start.err timeout 60 wine start /wait /unix "$work/второй.bbd"
[ "$status" = 0 ] || fail "second start: exit status $status: $(cat start.err)"
run count.out count.err wine "$probe" count "$title"
[ "$(tr -d '\r' <count.out)" = 1 ] || fail "second start: $(cat count.out) main windows"

# Closed as by the close button.
run close.out close.err wine "$probe" close "$title" 10
[ "$status" = 0 ] || fail "closing: $(cat close.out close.err)"
set +e
timeout 30 tail --pid="$program_pid" -f /dev/null
wait "$program_pid"
status=$?
set -e
[ "$status" = 0 ] || fail "closing: the program's exit status is $status: $(cat program.err)"
report_time "started, file handed over, closed"

# The pages filled and their pictures, by the screenshot program beside the installed one.
SECONDS=0
bench="$build_bin/orbisk-gui-bench.exe"
[ -f "$bench" ] || fail "no $bench: build it with scripts/windows/build.sh"
cp "$bench" "$installed/"
bench='C:\Program Files\orbisk\orbisk-gui-bench.exe'
run bench.out bench.err wine "$bench" --runs 1 "$(windows_path "$sample")"
[ "$status" = 0 ] || fail "pages: exit status $status: $(cat bench.err)"
tr -d '\r' <bench.out
rows="$(tr -d '\r' <bench.out | sed -n 's/.*refill every page (\([0-9]*\) rows).*/\1/p')"
[ -n "$rows" ] && [ "$rows" -gt 0 ] || fail "pages: the list of cycles is empty"
shown="$(tr -d '\r' <bench.out | sed -n 's/^start to shown filled window: \([0-9]*\).*/\1/p')"
[ -n "$shown" ] && [ "$shown" -lt 10000 ] || fail "pages: filled after ${shown:-?} ms"
mkdir -p "$work/shots"
run shots.out shots.err wine "$bench" --screenshots "$(windows_path "$work/shots")" \
  "$(windows_path "$sample")"
[ "$status" = 0 ] || fail "pictures: exit status $status: $(cat shots.out shots.err)"
mkdir -p "$pictures"
for shot in main-identification main-longterm main-operational main-settings cycle-chart \
  cycle-chart-zoom histogram; do
  [ -s "$work/shots/$shot.png" ] || fail "pictures: no $shot.png"
  cp "$work/shots/$shot.png" "$pictures/"
done
rm "$installed/orbisk-gui-bench.exe"
report_time "pages filled, chart opened, pictures taken"

# Installed again over itself: the earlier installation's uninstaller runs first, and the
# user's data and settings stay.
SECONDS=0
mkdir -p "$installed/Данные"
cp "$sample" "$installed/Данные/кран.bbd"
[ -f "$installed/orbisk.ini" ] || printf '[Настройки]\r\n' >"$installed/orbisk.ini"
run setup.out setup.err wine "$setup" /S
[ "$status" = 0 ] || fail "installing again: exit status $status"
wineserver -w
for f in orbisk.exe uninstall.exe platforms/qwindows.dll Данные/кран.bbd orbisk.ini; do
  [ -f "$installed/$f" ] || fail "installing again: no $f in $installed"
done
report_time "installed again"

# Uninstalled silently: the user's data and settings stay.
SECONDS=0
run uninstall.out uninstall.err wine "$installed/uninstall.exe" /S
[ "$status" = 0 ] || fail "uninstaller: exit status $status"
# The uninstaller runs from a copy of itself in the temporary folder; wait for that copy.
wineserver -w
for f in orbisk.exe orbisk-cli.exe uninstall.exe platforms translations fonts; do
  [ ! -e "$installed/$f" ] || fail "uninstaller: $f is left"
done
[ -f "$installed/Данные/кран.bbd" ] || fail "uninstaller: the user's data file is gone"
[ -f "$installed/orbisk.ini" ] || fail "uninstaller: the INI is gone"
[ ! -e "$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/$title.lnk" ] ||
  fail "uninstaller: the Start menu entry is left"
if wine reg query 'HKLM\Software\Classes\orbisk.bbd' >/dev/null 2>&1; then
  fail "uninstaller: the data files' association is left"
fi
report_time "uninstalled"
echo "desktop test passed"
