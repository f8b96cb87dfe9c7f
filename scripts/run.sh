#!/usr/bin/env bash
# Installs what is needed, builds, and starts the designer; without a display it renders
# the sample label to a PNG instead.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" "$root/build" -DETIQO_BUILD_BENCH=OFF
etiqo="$root/build/src/app/etiqo"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
    exec "$etiqo" "$@"
fi
echo "No display: showing the sample label instead." >&2
"$etiqo" info "$root/samples/sample.lab"
if "$etiqo" render "$root/samples/sample.lab" -o "$root/build/sample.png" 2>/dev/null; then
    echo "Rendered $root/build/sample.png"
fi
