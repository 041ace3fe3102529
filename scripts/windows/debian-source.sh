# Debian's source packages for the Windows builds, sourced by build-qt.sh and build-sqlite.sh.
#   debian_source WORK PACKAGE [BINARY]
# unpacks the source package PACKAGE (at the version of the installed binary package BINARY
# when given, else the release's) into WORK/src/PACKAGE, once, and prints that folder. The
# downloads stay in WORK/dl. The sources are fetched through an apt configuration of our own
# in WORK/apt: the system's sources stay as they are.
debian_source() {
  local work="$1" pkg="$2" wanted="$2"
  [ -n "${3:-}" ] && wanted="$pkg=$(dpkg-query -W -f='${source:Version}' "$3")"
  local apt_dir="$work/apt" dir="$work/src/$pkg"
  local apt_opts=(-o "Dir::Etc::SourceList=$apt_dir/sources.list"
    -o "Dir::Etc::SourceParts=$apt_dir/sources.list.d"
    -o "Dir::Etc::Preferences=$apt_dir/preferences" -o "Dir::Etc::PreferencesParts=$apt_dir/preferences.d"
    -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir")
  if [ ! -f "$apt_dir/.updated" ]; then
    mkdir -p "$apt_dir"/{lists/partial,archives/partial,sources.list.d,preferences.d}
    cat >"$apt_dir/sources.list" <<SOURCES
deb-src http://deb.debian.org/debian bookworm main
deb-src http://deb.debian.org/debian bookworm-updates main
deb-src http://deb.debian.org/debian-security bookworm-security main
SOURCES
    apt-get "${apt_opts[@]}" update -qq
    touch "$apt_dir/.updated"
  fi
  if [ ! -d "$dir" ]; then
    if ! ls "$work/dl/$pkg"/*.dsc >/dev/null 2>&1; then
      mkdir -p "$work/dl/$pkg"
      (cd "$work/dl/$pkg" && apt-get "${apt_opts[@]}" source --download-only -qq "$wanted" >/dev/null)
    fi
    mkdir -p "$work/src"
    dpkg-source --no-check -x "$work/dl/$pkg"/*.dsc "$dir" >/dev/null
  fi
  echo "$dir"
}
