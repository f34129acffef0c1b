#!/usr/bin/env bash
# Starts the program under Xvfb and drives it with real pointer events through the X server:
# "Maillage" > "Créer des noeuds", a node created on the free view and located on the loaded
# view, then dragged on the loaded view; screenshots show the red marks. Every step waits for
# a condition (a window, a pixel), never for a fixed time.
#   xserver_test.sh PROGRAM XPROBE SCREENSHOT_FOLDER
set -euo pipefail

program=$1 probe=$2 shots=$3
for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "$tool is missing: skipped"; exit 77; }
done
mkdir -p "$shots"
work=$(mktemp -d)
xvfb_pid="" app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() { echo "FAILED: $*" >&2; exit 1; }

# Polls a command until it succeeds, for at most $1 seconds.
wait_until() {
  local seconds=$1; shift
  local deadline=$((SECONDS + seconds))
  until "$@" >/dev/null 2>&1; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.05
  done
}

# A display of our own: Xvfb writes its number once it accepts clients.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
wait_until 20 test -s "$work/display" || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=":$(head -n1 "$work/display")"
export QT_QPA_PLATFORM=xcb

eval "$("$probe" layout)" || fail "no layout from the probe"

"$program" >"$work/program.log" 2>&1 &
app_pid=$!
window=$(timeout 30 xdotool search --sync --onlyvisible --pid "$app_pid" --name "^Analyse d'image\$" | head -n1) \
  || fail "the main window did not appear"

windows_shown() { [ "$(xdotool search --onlyvisible --pid "$app_pid" | wc -l)" -eq "$1" ]; }
point() { xdotool mousemove --window "$window" "$1" "$2"; }
shot() { "$probe" shot "$window" "$shots/$1.png" || fail "no screenshot $1"; }
# Waits until the window shows red at (x, y).
red_at() { "$probe" wait "$window" "$1" "$2" FF0000 20 || { shot failure; fail "no red mark at ($1, $2)"; }; }

shot start

# "Maillage" opens its menu, a second window; "Créer des noeuds" closes it.
point "$meshmenu_x" "$meshmenu_y"
xdotool click 1
wait_until 20 windows_shown 2 || fail "the menu did not open"
point "$node_x" "$node_y"
xdotool click 1
wait_until 20 windows_shown 1 || fail "the menu did not close"

# A node at (100, 50) on the free view, located at (110, 60) on the loaded view; the next
# movement over the window redraws both views.
point $((Picture1_x + 100)) $((Picture1_y + 50))
xdotool click 1
point $((Picture2_x + 110)) $((Picture2_y + 60))
xdotool click 1
point "$background_x" "$background_y"
red_at $((Picture1_x + 100)) $((Picture1_y + 50))
red_at $((Picture1_x + 101)) $((Picture1_y + 50))
red_at $((Picture2_x + 110)) $((Picture2_y + 60))
red_at $((Picture2_x + 110)) $((Picture2_y + 59))
shot node-located

# Dragged on the loaded view, by 40 and 25 pixels, in steps.
point $((Picture2_x + 110)) $((Picture2_y + 60))
xdotool mousedown 1
for step in 1 2 3 4; do
  point $((Picture2_x + 110 + 10 * step)) $((Picture2_y + 60 + 25 * step / 4))
done
xdotool mouseup 1
red_at $((Picture2_x + 150)) $((Picture2_y + 85))
"$probe" wait "$window" $((Picture2_x + 110)) $((Picture2_y + 60)) FF0000 0 \
  && { shot failure; fail "the old mark is still drawn"; }
red_at $((Picture1_x + 100)) $((Picture1_y + 50))
shot node-dragged

kill -0 "$app_pid" || fail "the program ended"
echo "screenshots in $shots"
