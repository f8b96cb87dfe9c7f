#!/usr/bin/env bash
# dialog-screenshots.sh [BUILD_DIR] [OUTPUT_DIR] [POINT_SIZE]: renders every property dialog in
# Chinese and English to PNG files, without a display.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
out=${2:-$build/dialog-screenshots}
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" --target dialog_screenshots
QT_QPA_PLATFORM=offscreen "$build/tools/dialog_screenshots" "$out" ${3:+"$3"}
