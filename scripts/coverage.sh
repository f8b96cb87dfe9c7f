#!/usr/bin/env bash
# coverage.sh [BUILD_DIR] [ctest options...]: builds the suite with --coverage (Debug, no benchmarks)
# in BUILD_DIR (default build-cov), runs it from clean counters and prints the line and branch
# coverage of src/; the per-file table goes to BUILD_DIR/coverage.txt.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=${1:-$root/build-cov}
shift || true
cmake -S "$root" -B "$dir" -DETIQO_BUILD_TESTS=ON -DETIQO_BUILD_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS=--coverage -DCMAKE_EXE_LINKER_FLAGS=--coverage >/dev/null
cmake --build "$dir" -j"$(nproc)"
find "$dir" -name '*.gcda' -delete
# A failing test still leaves its counters; say so and report the figures anyway.
(cd "$dir" && QT_QPA_PLATFORM=offscreen ctest -j"$(nproc)" "$@") || echo "coverage.sh: some tests failed" >&2
# gcovr finds each object's compile folder by walking up from its counters; naming an object
# directory instead breaks that when the compiler cache has made source paths relative.
gcovr -r "$root" "$dir" --filter "$root/src/" --print-summary -o "$dir/coverage.txt"
