#!/usr/bin/env bash
# The Wine prefix the Wine tests of one run share: `prefix.sh create` makes a fresh one in a
# temporary folder and keeps its server running; `prefix.sh remove` stops it and removes it.
. "$(dirname "$0")/wine-common.sh"
case "${1:-}" in
  create)
    if [ -f "$WINE_PREFIX_NOTE" ]; then
      WINEPREFIX="$(cat "$WINE_PREFIX_NOTE")" wineserver -k 2>/dev/null || true
      rm -rf "$(dirname "$(cat "$WINE_PREFIX_NOTE")")"
    fi
    folder="$(mktemp -d "${TMPDIR:-/tmp}/orbisk-wine.XXXXXX")"
    export WINEPREFIX="$folder/prefix"
    wineboot --init >/dev/null 2>&1 || fail "wineboot could not make a prefix in $WINEPREFIX"
    # The first start of the services ends before the tests use them.
    wineserver -w
    # One server for all the tests: each program then starts in a fraction of a second.
    wineserver -p </dev/null >/dev/null 2>&1
    printf '%s' "$WINEPREFIX" >"$WINE_PREFIX_NOTE"
    report_time "prefix made"
    ;;
  remove)
    if [ -f "$WINE_PREFIX_NOTE" ]; then
      wineserver -k 2>/dev/null || true
      rm -rf "$(dirname "$WINEPREFIX")"
      rm -f "$WINE_PREFIX_NOTE"
    fi
    ;;
  *)
    echo "usage: prefix.sh create|remove" >&2
    exit 2
    ;;
esac
