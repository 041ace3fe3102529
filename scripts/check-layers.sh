#!/usr/bin/env bash
# Checks that includes follow the layers: a folder includes only itself and the folders beneath
# it, and no two modules (a header with its source) include each other, directly or in a ring.
# The libraries' link lines enforce the same for what is compiled; this catches a header-only
# include that no link line would notice.
#
#   scripts/check-layers.sh
set -euo pipefail
cd "$(dirname "$0")/.."

# What each folder may include besides itself. A qt/ folder may also include every core folder
# and base/qt; link/sim may include link and what link includes.
declare -A allowed=(
  [base]=""
  [image]="base"
  [app]="base"
  [link]="base image app"
  [link/sim]="base image app link"
  [reports]="base image app"
  [views]="base image"
  [archive]="base image app reports"
  [edit]="base image app link"
  [base/qt]="base image app"
  [link/qt]="base image app link base/qt"
  [reports/qt]="base image app reports base/qt"
  [views/qt]="base image app views base/qt"
  [edit/qt]="base image app link edit base/qt"
  [desktop/qt]="base image app link reports views archive edit base/qt link/qt reports/qt views/qt edit/qt"
)

status=0
edges=$(mktemp)
trap 'rm -f "$edges"' EXIT
for folder in "${!allowed[@]}"; do
  for file in "$folder"/*.h "$folder"/*.cpp; do
    [ -e "$file" ] || continue
    module="$folder/$(basename "${file%.*}")"
    while IFS= read -r inc; do
      target=$(dirname "$inc")
      [ -e "$inc" ] || continue  # a system or test header
      if [ "$target" != "$folder" ] && ! grep -qw -- "$target" <<<" ${allowed[$folder]} "; then
        echo "check-layers: $file includes $inc, but $folder may not use $target" >&2
        status=1
      fi
      other="$target/$(basename "${inc%.*}")"
      [ "$other" != "$module" ] && echo "$module $other" >>"$edges"
    done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
  done
done

if ! tsort "$edges" >/dev/null 2>"$edges.loops"; then
  echo "check-layers: modules that include each other:" >&2
  grep -v "input contains a loop" "$edges.loops" | sed 's/^tsort: /  /' >&2
  status=1
fi
rm -f "$edges.loops"
[ $status -eq 0 ] && echo "check-layers: every include points down the layers; no module includes another that includes it."
exit $status
