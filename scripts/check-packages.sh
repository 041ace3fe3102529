#!/usr/bin/env bash
# Checks that a fresh Debian machine gets everything this build used from the set-up list alone.
#
#   scripts/check-packages.sh BUILD_DIR
#
# A machine that already has a package (installed by hand, or as a recommendation of something
# else) hides a missing set-up step: the build works here and fails for a newcomer. So this takes
# what the configure step of BUILD_DIR actually used, names the Debian package of each file, and
# fails when a package is neither in the set-up list nor pulled in by it through hard dependencies
# (Depends and Pre-Depends; for a choice "a | b" only the first, which apt takes on a clean
# machine). What it looks at, from BUILD_DIR/CMakeCache.txt:
#   - every package configuration CMake loaded (the *_DIR entries: Qt6Charts, GTest, ...);
#   - the compiler and build tools (CMAKE_*, PKG_CONFIG_EXECUTABLE);
#   - every ORBISK_* entry: the programs, fonts and locale sources the tests and scripts need at
#     run time (found in cmake/RunTimeNeeds.cmake).
# Packages every Debian has (Essential or Priority required) count as present.
# ORBISK_CHECK_WITHOUT="pkg ..." drops packages from the list, so the check can show it fails.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:?usage: scripts/check-packages.sh BUILD_DIR}"
cache="$build/CMakeCache.txt"
[ -f "$cache" ] || { echo "check-packages: $cache not found; configure first" >&2; exit 2; }

source scripts/setup.sh
listed=()
for p in "${ORBISK_PACKAGES[@]}"; do
  case " ${ORBISK_CHECK_WITHOUT:-} " in *" $p "*) ;; *) listed+=("$p") ;; esac
done

# The files the build used.
files=()
while IFS= read -r line; do
  name="${line%%:*}"
  value="${line#*=}"
  case "$value" in /*) ;; *) continue ;; esac
  case "$name" in
    *_DIR)
      # A package configuration: the file CMake loaded from that folder.
      base="${name%_DIR}"
      for f in "$value/${base}Config.cmake" "$value/$(echo "$base" | tr 'A-Z' 'a-z')-config.cmake"; do
        [ -f "$f" ] && { files+=("$f"); break; }
      done
      ;;
    CMAKE_*|PKG_CONFIG_EXECUTABLE|ORBISK_*)
      [ -e "$value" ] && files+=("$value")
      ;;
  esac
done < <(grep -E '^[A-Za-z0-9_]+:(PATH|FILEPATH)=' "$cache" | grep -v -e '-NOTFOUND$' \
           -e '^CMAKE_INSTALL_PREFIX' -e '^CMAKE_FIND_PACKAGE_REDIRECTS_DIR')

# The package that holds each file, asked in one go; a file dpkg does not know by the path CMake
# found is asked again by the path a link or an alternative leads to, and without a merged /usr.
declare -A owner=()
ask_dpkg() {
  local line path pkg
  while IFS= read -r line; do
    case "$line" in diversion*|"") continue ;; esac
    path="${line#*: }"
    pkg="${line%%: *}"; pkg="${pkg%%,*}"; pkg="${pkg%%:*}"
    [ -n "${owner[$path]:-}" ] || owner[$path]="$pkg"
  done < <(dpkg-query -S "$@" 2>/dev/null || true)
}
ask_dpkg "${files[@]}"
declare -A alias=()
retry=()
for f in "${files[@]}"; do
  [ -n "${owner[$f]:-}" ] && continue
  for c in "$(readlink -f "$f")" "${f#/usr}"; do alias[$c]="$f"; retry+=("$c"); done
done
[ ${#retry[@]} -gt 0 ] && ask_dpkg "${retry[@]}"
for c in "${!alias[@]}"; do
  f="${alias[$c]}"
  [ -z "${owner[$f]:-}" ] && [ -n "${owner[$c]:-}" ] && owner[$f]="${owner[$c]}"
done

# Everything the listed packages pull in through hard dependencies.
closure=$(apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts --no-breaks \
            --no-replaces --no-enhances "${listed[@]}" 2>/dev/null | awk -v roots="${listed[*]}" '
  # Lines: "pkg" starts a package; "  Depends: x" or " |Depends: x" (a choice that goes on with
  # the next line); "    provider" follows a virtual "<x>". A group is recorded by its first
  # alternative: the package, or the only provider of a virtual one.
  /^[^ ]/ { node = $1; sub(/:.*/, "", node); open = 0; next }
  /^ [ |](Pre)?Depends:/ {
    choice = ($0 ~ /^ \|/)
    dep = $2; sub(/:[a-z0-9]+$/, "", dep)
    isfirst = !open
    if (isfirst) { group++; first[group] = dep; owner[group] = node; providers[group] = 0 }
    open = choice
    next
  }
  /^    [^ ]/ {
    if (isfirst && first[group] ~ /^</) { providers[group]++; provider[group] = $1; sub(/:.*/, "", provider[group]) }
    next
  }
  END {
    for (g = 1; g <= group; g++) {
      target = first[g]
      if (target ~ /^</) { if (providers[g] != 1) continue; target = provider[g] }
      edges[owner[g]] = edges[owner[g]] " " target
    }
    n = split(roots, queue, " ")
    for (i = 1; i <= n; i++) seen[queue[i]] = 1
    for (i = 1; i <= n; i++) {
      m = split(edges[queue[i]], next_, " ")
      for (j = 1; j <= m; j++) if (!(next_[j] in seen)) { seen[next_[j]] = 1; queue[++n] = next_[j] }
    }
    for (p in seen) print p
  }')

in_closure() { grep -qxF "$1" <<<"$closure"; }
always_there() {
  local info
  info=$(dpkg-query -W -f='${Essential} ${Priority}' "$1" 2>/dev/null) || return 1
  case "$info" in yes*|*required) return 0 ;; *) return 1 ;; esac
}

missing=()
declare -A reported=()
for f in "${files[@]}"; do
  pkg="${owner[$f]:-}"
  if [ -z "$pkg" ]; then
    missing+=("$f: no Debian package holds it (installed by hand?)")
    continue
  fi
  in_closure "$pkg" && continue
  always_there "$pkg" && continue
  [ -n "${reported[$pkg]:-}" ] && continue
  reported[$pkg]=1
  missing+=("$f comes from the package $pkg")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "check-packages: the set-up list in scripts/setup.sh does not install everything this build used." >&2
  echo "On a fresh machine (no recommended packages) these would be missing:" >&2
  printf '  %s\n' "${missing[@]}" >&2
  echo "Add each package to ORBISK_PACKAGES in scripts/setup.sh." >&2
  exit 1
fi
echo "check-packages: ${#files[@]} files the build used all come from the set-up list (${#listed[@]} packages and their dependencies)."
