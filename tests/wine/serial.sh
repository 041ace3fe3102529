#!/usr/bin/env bash
# orbisk-cli.exe over COM1, where the prefix's COM1 is the pseudo-terminal of orbisk-sim (the
# adapter emulator): a read gives the image byte for byte, a write leaves the reader's memory as
# the Linux build's write does, the emulator's faults end with the Linux build's texts and exit
# status 1, and a port that another program holds is reported as busy.
. "$(dirname "$0")/wine-common.sh"
make_scratch
cd "$work"
com1="$WINEPREFIX/dosdevices/com1"
WINDOWS_CLI="$WINDOWS_BIN/orbisk-cli.exe"

sim_pid=""
stop_sim() {
  if [ -n "$sim_pid" ]; then
    kill "$sim_pid" 2>/dev/null || true
    wait "$sim_pid" 2>/dev/null || true
    sim_pid=""
  fi
}
trap 'stop_sim; rm -f "$com1"; [ -n "${KEEP:-}" ] || rm -rf "$work"' EXIT

# start_sim NAME [switches...]: the emulator with the sample; COM1 of both programs is its
# terminal. On exit it saves its memory to NAME.memory.
start_sim() {
  local name="$1"
  shift
  "$LINUX_SIM" "$SAMPLES/current.bbd" --save "$name.memory" "$@" >"$name.sim" 2>"$name.sim-err" &
  sim_pid=$!
  local tries=0
  until [ -s "$name.sim" ]; do
    tries=$((tries + 1))
    [ "$tries" -lt 100 ] || fail "orbisk-sim did not start: $(cat "$name.sim-err")"
    sleep 0.05
  done
  pty="$(head -n 1 "$name.sim")"
  ln -sfn "$pty" "$com1"
}

# both NAME "sim switches" cli arguments...: the same command against a fresh emulator each,
# Linux first, Windows second; their outputs, exit statuses and the emulators' memories after it
# must be the same. Leaves the Windows exit status in $status.
both() {
  local name="$1" switches="$2"
  shift 2
  # shellcheck disable=SC2086
  start_sim "$name.linux" $switches
  run "$name.linux.out" "$name.linux.err" env ORBISK_SERIAL_PORTS="$pty" \
    "$LINUX_CLI" --config linux.ini --now "$NOW" --yes "$@"
  local linux_status=$status
  stop_sim
  # shellcheck disable=SC2086
  start_sim "$name.windows" $switches
  run "$name.windows.out" "$name.windows.err" wine "$WINDOWS_CLI" --config windows.ini \
    --now "$NOW" --yes "$@"
  stop_sim
  [ "$status" = "$linux_status" ] ||
    fail "$name: exit status $status on Windows, $linux_status on Linux: $(cat "$name.windows.err")"
  cmp -s "$name.linux.out" "$name.windows.out" || fail "$name: standard output differs"
  cmp -s "$name.linux.err" "$name.windows.err" ||
    fail "$name: texts differ: $(diff "$name.linux.err" "$name.windows.err")"
  cmp -s "$name.linux.memory" "$name.windows.memory" || fail "$name: the reader's memory differs"
}

# A read: the image byte for byte.
both read "" read --port COM1 -o read.bbd
[ "$status" = 0 ] || fail "read: exit status $status: $(cat read.windows.err)"
cmp "$SAMPLES/current.bbd" read.bbd || fail "read: the image read differs from the reader's"
report_time "read"

# A write: the reader's memory afterwards as after the Linux write, and not as before.
both write "" write "$SAMPLES/current.bbd" --port COM1 --block identification \
  --set eNumber=4711 --set eOwner="ООО «Подъём»"
[ "$status" = 0 ] || fail "write: exit status $status: $(cat write.windows.err)"
! cmp -s "$SAMPLES/current.bbd" write.windows.memory || fail "write: the memory is unchanged"
report_time "write"

# The emulator's faults: the same texts, exit status 1.
both unplugged "--unplug-after 100" read --port COM1 -o unplugged.bbd
[ "$status" = 1 ] || fail "unplugged: exit status $status"
both silent "--silent" read --port COM1 -o silent.bbd
[ "$status" = 1 ] || fail "silent: exit status $status"
both writes-dropped "--drop-writes" write "$SAMPLES/current.bbd" --port COM1 \
  --block identification --set eNumber=4711
[ "$status" = 1 ] || fail "writes dropped: exit status $status"
for name in unplugged silent writes-dropped; do
  [ -s "$name.windows.err" ] || fail "$name: no text"
done
report_time "faults"

# A port another program holds. Wine keeps share modes for files but not for devices, so COM1
# is a file here while a Windows program holds it unshared, as a terminal program would hold the
# port.
rm -f "$com1"
: >"$work/port"
ln -s "$work/port" "$com1"
coproc holder { wine "$WINDOWS_BIN/test-hold-port.exe" 'COM1'; }
read -r -t 60 held <&"${holder[0]}" || true
held="${held:-}"
[ "${held%$'\r'}" = held ] || fail "COM1 could not be held"
run busy.out busy.err wine "$WINDOWS_CLI" --config windows.ini --yes read --port COM1 -o busy.bbd
echo >&"${holder[1]}"
wait "$holder_PID" || true
[ "$status" = 1 ] || fail "busy port: exit status $status"
grep -q "^Порт COM1 занят другой программой (" busy.err ||
  fail "busy port: not told: $(cat busy.err)"
[ ! -e busy.bbd ] || fail "busy port: a file was written"
report_time "busy port"
