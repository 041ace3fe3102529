#!/usr/bin/env bash
# Takes the pictures of the desktop program on the sample data into docs/: the four pages of the
# main window, the cycle chart and the load histogram, and Protocol No. 1 as Chromium shows it. Runs under Xvfb when it is installed,
# otherwise on Qt's offscreen platform.
#   scripts/screenshots.sh [BUILD_DIR] [SAMPLE]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
sample="${2:-samples/current.bbd}"

cmake -S . -B "$build" -G Ninja -DORBISK_CORE_ONLY=OFF >/dev/null
cmake --build "$build" --target orbisk-gui-bench orbisk_cli_tests -j2

if command -v xvfb-run >/dev/null 2>&1; then
  xvfb-run -a -s "-screen 0 1280x1024x24" \
    env QT_QPA_PLATFORM=xcb "$build/bin/orbisk-gui-bench" --screenshots docs "$sample"
else
  QT_QPA_PLATFORM=offscreen "$build/bin/orbisk-gui-bench" --screenshots docs "$sample"
fi

if command -v chromium >/dev/null 2>&1; then
  ORBISK_SCREENSHOTS="$PWD/docs" "$build/tests/orbisk_cli_tests" \
    --gtest_filter='ReportsInBrowser.*'
fi
