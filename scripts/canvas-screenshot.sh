#!/usr/bin/env bash
# canvas-screenshot.sh BUILD_DIR OUT.png: the canvas with one selected element of every kind.
set -euo pipefail
dir=$1
out=$2
cmake --build "$dir" --target canvas_screenshot >/dev/null
QT_QPA_PLATFORM=offscreen "$dir/tools/canvas_screenshot" "$out"
