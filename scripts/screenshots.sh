#!/usr/bin/env bash
# screenshots.sh [BUILD_DIR] [OUT_DIR]: starts the designer under Xvfb in English and in Chinese, places
# a text, a barcode, a QR code, a rectangle and a line with real mouse events (xdotool), selects the text
# and saves a screenshot of each language: OUT_DIR/designer-en.png and OUT_DIR/designer-zh.png.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
out=${2:-$build/screenshots}
etiqo="$build/src/app/etiqo"
[ -x "$etiqo" ] || { echo "no designer at $etiqo (build first: scripts/build.sh $build)" >&2; exit 1; }
mkdir -p "$out"

if [ -z "${ETIQO_IN_XVFB:-}" ]; then
    ETIQO_IN_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$build" "$out"
fi

click() { xdotool mousemove "$1" "$2" sleep 0.2 click 1 sleep 0.4; }
drag() { xdotool mousemove "$1" "$2" sleep 0.2 mousedown 1 sleep 0.1 mousemove "$3" "$4" sleep 0.2 mouseup 1 sleep 0.4; }

# Button centres on screen, with the window at 0,0 and its menu bar $menu pixels high.
palette() { click $((43 * $1 + 22 + ($1 >= 7 ? 16 : 0))) $((menu + 42 + 21)); }

shoot() {
    local lang=$1 name=$2
    local config
    config=$(mktemp -d)
    LANG=$lang LC_ALL= LANGUAGE= XDG_CONFIG_HOME=$config "$etiqo" &
    local pid=$!
    local win=""
    for _ in $(seq 50); do
        win=$(xdotool search --name "Etiqo Editor" 2>/dev/null | head -1) && [ -n "$win" ] && break
        sleep 0.2
    done
    [ -n "$win" ] || { echo "the designer window did not appear" >&2; kill "$pid"; exit 1; }
    # No window manager here to maximize it: place it over the whole screen.
    xdotool windowmove "$win" 0 0 windowsize "$win" 1280 800
    sleep 1
    menu=20
    # The label: 394 × 631 pixels (laid out for the 1000 × 700 window less its menu bar) centred in the
    # view, which starts at 24, menu + 108.
    local left=455 top=$((menu + 108 + 13))
    palette 1; click $((left + 40)) $((top + 40))     # text
    palette 3; click $((left + 40)) $((top + 140))    # barcode
    palette 2; click $((left + 40)) $((top + 330))    # QR code
    palette 6; click $((left + 240)) $((top + 330))   # rectangle, 100 × 100 dots
    palette 5; drag $((left + 40)) $((top + 560)) $((left + 340)) $((top + 560))  # line
    palette 0; click $((left + 45)) $((top + 45))     # select the text
    xdotool mousemove 1200 780
    sleep 0.5
    import -window root "$out/$name"
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    rm -rf "$config"
    echo "$out/$name"
}

shoot en_US.UTF-8 designer-en.png
shoot zh_CN.UTF-8 designer-zh.png
# The palette, command bar and rulers alone, rendered without a display.
if [ -x "$build/tools/chrome_screenshots" ]; then
    QT_QPA_PLATFORM=offscreen "$build/tools/chrome_screenshots" "$out"
fi
