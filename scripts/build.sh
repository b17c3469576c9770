#!/usr/bin/env bash
# Configures (once) and builds the project. BUILD_DIR (default build) and PLOTCORE_SANITIZE
# (ON/OFF) choose the build; under CI warnings are errors.
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD_DIR=${BUILD_DIR:-build}
SANITIZE=${PLOTCORE_SANITIZE:-OFF}
WERROR=OFF
if [ "${CI:-}" = "true" ]; then WERROR=ON; fi
JOBS=${JOBS:-$(nproc)}
# A compiler cache, where installed, keyed on paths relative to the checkout so that several
# checkouts of the project share it (with debug info ccache would also key on the build
# folder's absolute path unless told not to).
LAUNCHER=()
if command -v ccache > /dev/null; then
    export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD}
    export CCACHE_NOHASHDIR=${CCACHE_NOHASHDIR:-1}
    LAUNCHER=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DPLOTCORE_SANITIZE="$SANITIZE" -DPLOTCORE_WERROR="$WERROR" "${LAUNCHER[@]}" > "$BUILD_DIR.configure.log" 2>&1 ||
    { cat "$BUILD_DIR.configure.log"; exit 1; }
cmake --build "$BUILD_DIR" -j "$JOBS"
