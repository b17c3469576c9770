#!/usr/bin/env bash
# Pictures of the viewer for the README, taken under a virtual X server on the demonstration
# recording: Open all, a grouped trend, the property editor, the graph selector, a harmonics
# window judged against a norm and an events window. It is also a test of the viewer in a real
# X server: each step must produce its window, or the script fails. Needs a build (BUILD_DIR, default build) with kestramon and the engine modules.
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD_DIR=${BUILD_DIR:-build}
OUT=docs/screenshots
APP="$BUILD_DIR/bin/kestramon"
[ -x "$APP" ] || { echo "screenshots: $APP is missing; build kestramon and PlotCore first" >&2; exit 1; }

# The X tools, installed here only: nothing else in the project needs them.
need=()
command -v Xvfb > /dev/null || need+=(xvfb)
command -v xdotool > /dev/null || need+=(xdotool)
command -v xwd > /dev/null || need+=(x11-apps)
[ -x /usr/bin/convert ] || need+=(imagemagick)
if [ ${#need[@]} -gt 0 ]; then
    SUDO=""
    if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${need[@]}"
fi

DISPLAY_NUMBER=${SCREENSHOT_DISPLAY:-:97}
# Rows of the demo's variables in the graph selector, counted from its first row.
HARMONICS_ROW=${HARMONICS_ROW:-11}
EVENTS_ROW=${EVENTS_ROW:-26}
SCRATCH=$(mktemp -d)
XVFB_PID=""
APP_PID=""
cleanup() {
    [ -n "$APP_PID" ] && kill "$APP_PID" 2> /dev/null || true
    [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2> /dev/null || true
    rm -rf "$SCRATCH"
}
trap cleanup EXIT

Xvfb "$DISPLAY_NUMBER" -screen 0 1400x900x24 -nolisten tcp > "$SCRATCH/xvfb.log" 2>&1 &
XVFB_PID=$!
export DISPLAY=$DISPLAY_NUMBER
for _ in $(seq 50); do
    xdotool getdisplaygeometry > /dev/null 2>&1 && break
    sleep 0.2
done
xdotool getdisplaygeometry > /dev/null || { echo "screenshots: Xvfb did not start" >&2; exit 1; }

# A home of its own: the viewer's remembered state and the demo files stay out of the user's.
export HOME="$SCRATCH/home" XDG_CONFIG_HOME="$SCRATCH/home/.config" XDG_DATA_HOME="$SCRATCH/home/.local/share"
mkdir -p "$HOME"
export QT_QPA_PLATFORM=xcb
# The viewer names each graph window it opens on standard error.
export QT_LOGGING_RULES="kestramon.windows.info=true"

# Waits until the viewer has opened a graph window whose title matches; fails otherwise.
wait_graph() {
    for _ in $(seq 150); do
        grep -Eq "window opened: $1" "$SCRATCH/app.log" && return 0
        sleep 0.2
    done
    echo "screenshots: no graph window \"$1\" opened" >&2
    cat "$SCRATCH/app.log" >&2
    return 1
}

# Waits for a window whose name matches, returns its id; fails the script when none comes.
wait_window() {
    local pattern=$1 id=""
    for _ in $(seq 100); do
        id=$(xdotool search --onlyvisible --name "$pattern" 2> /dev/null | tail -1 || true)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.2
    done
    echo "screenshots: no window \"$pattern\" appeared" >&2
    return 1
}

shot() {
    mkdir -p "$OUT"
    sleep 1
    xwd -root -silent | /usr/bin/convert xwd:- -resize 1120x720 -colors 200 "PNG8:$OUT/$1.png"
    echo "screenshots: $OUT/$1.png"
}

keys() {
    # Xvfb runs no window manager: focus the main window directly.
    keys_to "$MAIN" "$@"
}

# Keys for a dialog, which is a window of its own.
keys_to() {
    local window=$1
    shift
    xdotool windowfocus --sync "$window" > /dev/null 2>&1 || true
    xdotool key --clearmodifiers "$@"
    sleep 0.5
}

# Opens one variable alone through the graph selector: the window list emptied first, the
# variable found by its place in the selector's list (Home, then Down), checked, OK.
open_alone() {
    local downs=$1 selector
    keys alt+w l
    keys ctrl+g
    selector=$(wait_window '^Graph Selector$')
    keys_to "$selector" Home
    for _ in $(seq "$downs"); do keys_to "$selector" Down; done
    keys_to "$selector" space Return
}

"$APP" > "$SCRATCH/app.log" 2>&1 &
APP_PID=$!
MAIN=$(wait_window '^KESTRAMON')
xdotool windowsize "$MAIN" 1400 900 windowmove "$MAIN" 0 0

# Open all: the demo's graph windows, tiled.
keys ctrl+shift+a
wait_graph 'MULTIGRAPHIC'
wait_graph 'Active power'
keys alt+w t
shot 01-open-all

# A trend grouped twice (Ctrl+Up): the property dock beside it follows its new level.
keys ctrl+F6
keys ctrl+Up
keys ctrl+Up
shot 02-grouped-trend-and-properties

# The graph selector.
keys ctrl+g
SELECTOR=$(wait_window '^Graph Selector$')
shot 03-graph-selector
keys_to "$SELECTOR" Escape

# Voltage harmonics judged against EN 50160: the chart's popup menu, Harmonics filter (H), the
# norm picked by its first letters, "View only bad registers" and "Remark bad values" ticked,
# Apply. Bars above their limits are drawn in the remark colour.
open_alone "$HARMONICS_ROW"
wait_graph 'HARMONICS'
keys alt+w t
xdotool mousemove 560 520 click 3
sleep 0.5
xdotool key --clearmodifiers h
FILTER=$(wait_window '^Harmonics filter$')
keys_to "$FILTER" E N Tab space Tab space Return
shot 04-harmonics-filter

# Voltage events against the tolerance curves.
open_alone "$EVENTS_ROW"
wait_graph 'Voltage events against'
keys alt+w t
shot 05-events-tolerance-curves

kill "$APP_PID" 2> /dev/null || true
wait "$APP_PID" 2> /dev/null || true
APP_PID=""
