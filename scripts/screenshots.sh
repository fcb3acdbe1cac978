#!/usr/bin/env bash
# Remakes the screenshots of the user guide (docs/screenshots/) under a
# virtual X server: the windows of a compare of the example pair, the first
# page of its plain print, the side-by-side viewer on a dark palette and the
# main window at twice the scale.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"${QUORLIN_JOBS:-2}" --target gui_screenshots
mkdir -p docs/screenshots
xvfb-run -a -s "-screen 0 1280x1024x24" build/tests/gui_screenshots docs/screenshots
# The main window at twice the scale on a 1400 x 1000 screen.
QT_SCALE_FACTOR=2 xvfb-run -a -s "-screen 0 1400x1000x24" build/tests/gui_screenshots --scaled docs/screenshots
pdftoppm -png -r 60 -f 1 -l 1 -singlefile docs/screenshots/print.pdf docs/screenshots/print-page
rm -f docs/screenshots/print.pdf
