#!/usr/bin/env bash
# Installs what is needed, builds and runs the whole test suite.
# test.sh --sanitize builds into build-asan with AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
dir="$root/build"
options=(-DETIQO_BUILD_TESTS=ON)
if [ "${1:-}" = "--sanitize" ]; then
    dir="$root/build-asan"
    options+=(-DETIQO_SANITIZE=ON -DETIQO_BUILD_BENCH=OFF)
    export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
    export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
    export LSAN_OPTIONS=suppressions="$root/scripts/lsan.supp"
fi
"$root/scripts/build.sh" "$dir" "${options[@]}"
export QT_QPA_PLATFORM=offscreen
cd "$dir"
ctest --output-on-failure -j"$(nproc)"
