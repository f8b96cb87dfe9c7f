#!/usr/bin/env bash
# fuzz.sh [SECONDS] [TARGET...]: builds the libFuzzer targets with clang in their own build folder
# and runs each for SECONDS (default 60) from its seed corpus in fuzz/corpus/<target>. New inputs
# go to the build folder's corpus, crashes to its artifacts folder; the first finding fails the run.
# ETIQO_FUZZ_BUILD names the build folder (default: build-fuzz in the source tree).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    targets=(label_file_fuzz undo_file_fuzz serial_fuzz ean13_fuzz label_render_fuzz)
fi
build=${ETIQO_FUZZ_BUILD:-$root/build-fuzz}

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DETIQO_FUZZ=ON \
    -DETIQO_BUILD_BENCH=OFF >/dev/null
# Only the fuzz targets: the rest of the project under clang and sanitizers is not needed here.
cmake --build "$build" -j"$(nproc)" --target "${targets[@]}"

export QT_QPA_PLATFORM=offscreen
# intercept_tls_get_addr=0: see test.sh.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:allocator_may_return_null=1:intercept_tls_get_addr=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$root/scripts/lsan.supp}
for target in "${targets[@]}"; do
    corpus=$build/corpus/$target
    artifacts=$build/artifacts/$target/
    mkdir -p "$corpus" "$artifacts"
    echo "== $target: ${seconds}s"
    log=$build/artifacts/$target.log
    status=0
    "$build/fuzz/$target" "$corpus" "$root/fuzz/corpus/$target" -max_total_time="$seconds" -timeout=1 \
        -rss_limit_mb=2048 -malloc_limit_mb=1024 -print_final_stats=1 -artifact_prefix="$artifacts" \
        >"$log" 2>&1 || status=$?
    grep -E '^(stat::|#[0-9]+ +DONE|INFO: seed corpus|SUMMARY|.*ERROR|Test unit written)' "$log" || true
    if [ "$status" -ne 0 ]; then
        tail -n 60 "$log" >&2
        echo "fuzz.sh: $target found a problem (exit $status); the input is in $artifacts" >&2
        exit 1
    fi
done
