#!/usr/bin/env bash
# Builds every libFuzzer target with clang, ASan and UBSan (build-fuzz/) and runs each for
# SECONDS (default 60) on a copy of its seed corpus. A crash, leak or sanitizer report fails.
set -euo pipefail
cd "$(dirname "$0")/.."

SECONDS_PER_TARGET=${1:-60}
BUILD_DIR=${FUZZ_BUILD_DIR:-build-fuzz}
bash scripts/install-deps.sh
if ! command -v clang++ > /dev/null; then
    echo "fuzz: clang++ is needed (Debian package clang)" >&2
    exit 1
fi
LAUNCHER=()
if command -v ccache > /dev/null; then
    export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD}
    LAUNCHER=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
CC=clang CXX=clang++ cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPLOTCORE_FUZZ=ON \
    -DPLOTCORE_BUILD_TESTS=OFF -DPLOTCORE_BUILD_BENCH=OFF "${LAUNCHER[@]}" > "$BUILD_DIR.configure.log" 2>&1 ||
    { cat "$BUILD_DIR.configure.log"; exit 1; }

failed=0
for dir in fuzz/*/; do
    name=fuzz_$(basename "$dir")
    [ -f "$dir/CMakeLists.txt" ] || continue
    cmake --build "$BUILD_DIR" --target "$name" -j "${JOBS:-$(nproc)}"
    work=$(mktemp -d)
    cp -r "$dir/corpus/." "$work/" 2> /dev/null || true
    echo "fuzz: $name for ${SECONDS_PER_TARGET}s"
    if ! QT_QPA_PLATFORM=offscreen "$BUILD_DIR/bin/$name" -max_total_time="$SECONDS_PER_TARGET" \
        -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 "$work" > "$BUILD_DIR/$name.log" 2>&1; then
        echo "fuzz: $name FAILED" >&2
        tail -60 "$BUILD_DIR/$name.log" >&2
        failed=1
    else
        grep -E '^stat::number_of_executed_units|^#[0-9]+.*DONE' "$BUILD_DIR/$name.log" | tail -2 || true
    fi
    rm -rf "$work"
done
exit $failed
