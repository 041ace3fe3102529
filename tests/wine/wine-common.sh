# Sourced by the Wine tests: the prefix the run shares, the programs of both builds, and helpers.
# The caller sets ORBISK_BINARY_DIR (the Linux build) and ORBISK_SOURCE_DIR.
set -euo pipefail
: "${ORBISK_BINARY_DIR:?}" "${ORBISK_SOURCE_DIR:?}"
WINE_PREFIX_NOTE="$ORBISK_BINARY_DIR/wine-prefix.path"
WINDOWS_BIN="$ORBISK_BINARY_DIR/windows/bin"
LINUX_CLI="$ORBISK_BINARY_DIR/bin/orbisk-cli"
LINUX_SIM="$ORBISK_BINARY_DIR/bin/orbisk-sim"
SAMPLES="$ORBISK_SOURCE_DIR/samples"
# The clock every comparison runs at.
NOW="15.06.2025 10:00"

export WINEDEBUG=-all
# No Mono or Gecko installer dialogs: the programs need neither.
export WINEDLLOVERRIDES="mscoree,mshtml="
if [ -f "$WINE_PREFIX_NOTE" ]; then
  WINEPREFIX="$(cat "$WINE_PREFIX_NOTE")"
  export WINEPREFIX
fi

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# A Linux path as Wine's drive Z: shows it.
windows_path() {
  local p="$1"
  printf 'Z:%s' "${p//\//\\}"
}

# A scratch folder, $work, removed when the test ends.
make_scratch() {
  work="$(mktemp -d "${TMPDIR:-/tmp}/orbisk-wine-test.XXXXXX")"
  # shellcheck disable=SC2064
  trap "rm -rf '$work'" EXIT
}

# Runs a program with its standard output and error to files; the exit status in $status.
# run OUT ERR program args...
run() {
  local out="$1" err="$2"
  shift 2
  set +e
  timeout 600 "$@" >"$out" 2>"$err"
  status=$?
  set -e
}

# Seconds since the test began, for the closing line.
SECONDS=0
report_time() {
  echo "$1: ${SECONDS} s"
}
