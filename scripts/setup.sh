# Sourced by ./run and ./test: installs what a fresh Debian machine lacks and builds the project.
# Usage: orbisk_install_packages; orbisk_build DIR [cmake options...] (orbisk_configure: no build)

ORBISK_PACKAGES=(
  cmake ninja-build g++ pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-charts-dev qt6-serialport-dev qt6-svg-dev qt6-base-dev-tools
  qt6-translations-l10n
  libqt6opengl6-dev
  xvfb xauth fonts-dejavu-core fonts-liberation
  locales
  chromium poppler-utils
  dpkg-dev librsvg2-bin desktop-file-utils libxml2-utils shared-mime-info lintian
  g++-mingw-w64-x86-64-posix wine wine64 make tcl
  libsqlite3-dev libpq-dev postgresql
  clang libclang-rt-14-dev
)

orbisk_install_packages() {
  local missing=()
  for p in "${ORBISK_PACKAGES[@]}" "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  if [ ${#missing[@]} -eq 0 ]; then
    return 0
  fi
  echo "Installing: ${missing[*]}"
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

orbisk_configure() {
  local dir="$1"; shift
  cmake -S . -B "$dir" -G Ninja "$@" >/dev/null
}

orbisk_build() {
  orbisk_configure "$@"
  cmake --build "$1" -j"$(nproc)"
}
