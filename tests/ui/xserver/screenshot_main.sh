#!/usr/bin/env bash
# Takes the README's screenshot: the program under Xvfb, the example plate's photographs
# imported and its mesh opened through the real menus and file dialogs, the views redrawn.
#   screenshot_main.sh PROGRAM XPROBE OUTPUT.png
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
examples=$(cd "$here/../../../examples" && pwd)
output=$(realpath -m "$3")
source "$here/xserver_session.sh"
start_session "$1" "$2" "$(dirname "$output")"

known=$(visible_windows)
choose_menu image imagelibre
answer_modal "$known" "$examples/plate-free.png"
choose_menu image imgcharge
answer_modal "$known" "$examples/plate-loaded.png"
choose_menu meshmenu io open
answer_modal "$known" "$examples/plate-with-hole.MEF"
answer_modal "$known" # the counts of the opened mesh

# The first movement after the erase of "Ouverture" draws the mesh over both photographs.
point "$background_x" "$background_y"
wait_until 60 shows 0 0 1016 800 FF0000 || fail "no mesh drawn"
import -silent -window "$window" "$output" || fail "no screenshot"
echo "$output"
