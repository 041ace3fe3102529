#!/usr/bin/env bash
# orbisk-cli.exe on the parallel port through the real Windows loading code: a port-I/O library
# with the DLPortIO entry points, whose port 0x378 has the bit-level memory model attached, and a
# do-nothing driver file beside the program. The driver service is installed, started, stopped
# and removed through Wine's service control manager; the image is read byte for byte, under
# either of the library's names; without a library the refusal says what to put where.
. "$(dirname "$0")/wine-common.sh"
make_scratch

cd "$work"
export ORBISK_TEST_PORT_IMAGE
ORBISK_TEST_PORT_IMAGE="$(windows_path "$SAMPLES/current.bbd")"

# program_folder NAME LIBRARY: the program with the test library under that name (none: empty).
program_folder() {
  mkdir -p "$1"
  cp "$WINDOWS_BIN/orbisk-cli.exe" "$1/"
  cp "$WINDOWS_BIN/test-port-driver.sys" "$1/DLPortIO.SYS"
  if [ -n "$2" ]; then cp "$WINDOWS_BIN/test-port-library.dll" "$1/$2"; fi
}

service_gone() {
  run sc.out sc.err wine sc query DLPortIO
  [ "$status" != 0 ] || fail "$1: the driver service is still there: $(cat sc.out)"
}

for library in DLPortIO.dll DLPortIO64.dll; do
  program_folder "$library.folder" "$library"
  export ORBISK_TEST_PORT_LOG="$work/$library.log"
  run "$library.out" "$library.err" wine "$library.folder/orbisk-cli.exe" --config cli.ini --yes \
    read --port 0x378 -o "$library.bbd"
  [ "$status" = 0 ] || fail "$library: exit status $status: $(cat "$library.err")"
  cmp "$SAMPLES/current.bbd" "$library.bbd" || fail "$library: the image read differs"
  grep -qx DlPortReadPortUchar "$ORBISK_TEST_PORT_LOG" || fail "$library: no port read"
  grep -qx DlPortWritePortUchar "$ORBISK_TEST_PORT_LOG" || fail "$library: no port write"
  service_gone "$library"
  report_time "read through $library"
done

# No library beside the program: the driver service is tried and taken down again, and the
# refusal names the folder and the files.
program_folder none ""
run none.out none.err wine none/orbisk-cli.exe --config cli.ini --yes read --port 0x378 -o none.bbd
[ "$status" = 1 ] || fail "no library: exit status $status"
grep -q "LoadLibrary: Error #126" none.err || fail "no library: no reason: $(cat none.err)"
grep -qF "Z:${work//\//\\}\\none) 64-разрядную библиотеку DLPortIO.dll или DLPortIO64.dll и её драйвер DLPortIO.SYS" none.err ||
  fail "no library: no advice: $(cat none.err)"
[ ! -e none.bbd ] || fail "no library: a file was written"
service_gone "no library"
report_time "refusal without a library"
