#!/usr/bin/env bash
# The SQLite of the Windows programs' archive of checks: Debian has no SQLite for MinGW, so its
# one-file form (sqlite3.c, sqlite3.h) is made from Debian's own source of the SQLite the Linux
# build uses, into a cache outside the tree:
#   ${ORBISK_SQLITE_WINDOWS:-~/.cache/orbisk/sqlite-<version>}
# and compiled into the programs by the Windows build. A finished cache is reused as it is.
# Prints the cache folder last.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
version="$(dpkg-query -W -f='${source:Version}' libsqlite3-dev)"   # e.g. 3.40.1-2+deb12u2
upstream="${version%%-*}"
out="${ORBISK_SQLITE_WINDOWS:-$HOME/.cache/orbisk/sqlite-${upstream}}"
if [ -f "$out/.complete" ]; then
  echo "$out"
  exit 0
fi
work="$out/work"
# shellcheck source=debian-source.sh
. "$here/debian-source.sh"
src="$(debian_source "$work" sqlite3 libsqlite3-dev)"
# The one-file form is made by SQLite's own build on this machine (its tools are native).
rm -rf "$work/build"
mkdir -p "$work/build"
(cd "$work/build" && "$src/configure" --disable-tcl >configure.log 2>&1 && make -s sqlite3.c >make.log 2>&1) || {
  echo "build-sqlite.sh: SQLite's one-file form could not be made; see $work/build" >&2
  exit 1
}
cp "$work/build/sqlite3.c" "$work/build/sqlite3.h" "$out/"
touch "$out/.complete"
echo "$out"
