#!/usr/bin/env bash
# Installs what is missing, builds, and runs the main job: with a display the viewer opens on
# the demo recording; without one every graph of the demo is rendered to out/render.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
bash scripts/build.sh
BIN=build/bin/kestramon
if [ ! -x "$BIN" ]; then
    echo "The main job is not there yet: the host application kestramon (graph rendering of the demo" \
         "recording) has not been built in this version."
    exit 0
fi
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec "$BIN"
fi
mkdir -p out/render
QT_QPA_PLATFORM=offscreen "$BIN" --render out/render
echo "Graphs written to out/render (see out/render/index.html)."
