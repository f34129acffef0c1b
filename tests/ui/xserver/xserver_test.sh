#!/usr/bin/env bash
# Starts the program under Xvfb and drives it with real pointer events through the X server:
# "Maillage" > "Créer des noeuds", a node created on the free view and located on the loaded
# view, then dragged on the loaded view; screenshots show the red marks.
#   xserver_test.sh PROGRAM XPROBE SCREENSHOT_FOLDER
set -euo pipefail
source "$(dirname "$0")/xserver_session.sh"
start_session "$@"

shot start
choose_menu meshmenu node

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
shows $((Picture2_x + 110)) $((Picture2_y + 60)) 1 1 FF0000 && { shot failure; fail "the old mark is still drawn"; }
red_at $((Picture1_x + 100)) $((Picture1_y + 50))
shot node-dragged

kill -0 "$app_pid" || fail "the program ended"
echo "screenshots in $shots"
