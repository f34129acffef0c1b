# Shell functions for driving the program under Xvfb with xdotool and reading what it shows
# with ImageMagick's import; sourced by the X-server test and by the screenshot script. Every
# wait is for a condition, with a deadline.
#   start_session PROGRAM XPROBE SCREENSHOT_FOLDER   starts Xvfb and the program
# Afterwards: $window is the main window, the layout's positions are variables.

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

session_cleanup() {
  [ -n "${app_pid:-}" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "${xvfb_pid:-}" ] && kill "$xvfb_pid" 2>/dev/null || true
  [ -n "${session_dir:-}" ] && rm -rf "$session_dir"
}

start_session() {
  program=$1 probe=$2 shots=$3
  for tool in Xvfb xdotool import; do
    command -v "$tool" >/dev/null || { echo "$tool is missing: skipped"; exit 77; }
  done
  mkdir -p "$shots"
  session_dir=$(mktemp -d)
  trap session_cleanup EXIT

  # A display of our own: Xvfb writes its number once it accepts clients.
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$session_dir/display" \
    2>"$session_dir/xvfb.log" &
  xvfb_pid=$!
  wait_until 20 test -s "$session_dir/display" || fail "Xvfb did not start: $(cat "$session_dir/xvfb.log")"
  export DISPLAY=":$(head -n1 "$session_dir/display")"
  export QT_QPA_PLATFORM=xcb

  eval "$("$probe")" || fail "no layout from the probe"
  [ -n "${Picture1_x:-}" ] || fail "no layout from the probe"

  "$program" >"$session_dir/program.log" 2>&1 &
  app_pid=$!
  window=$(timeout 30 xdotool search --sync --onlyvisible --pid "$app_pid" --name "^Analyse d'image\$" | head -n1) \
    || fail "the main window did not appear"
}

# The program's visible windows, one id a line.
visible_windows() { xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null | sort; }

# Waits for a visible window that is not among $1 (ids, one a line) and prints its id.
new_window() {
  local known=$1 deadline=$((SECONDS + 20)) id
  while [ "$SECONDS" -lt "$deadline" ]; do
    id=$(comm -13 <(echo "$known") <(visible_windows) | head -n1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.05
  done
  return 1
}

window_closed() { ! visible_windows | grep -qx "$1"; }

point() { xdotool mousemove --window "$window" "$1" "$2"; }
shot() { import -silent -window "$window" "$shots/$1.png" || fail "no screenshot $1"; }

# Whether the main window shows the colour $5 (RRGGBB) in the rectangle of $3 x $4 pixels at ($1, $2).
shows() { import -silent -window "$window" -crop "$3x$4+$1+$2" -depth 8 txt:- | grep "#$5 " >/dev/null; }

# Waits until the main window shows red at (x, y).
red_at() { wait_until 20 shows "$1" "$2" 1 1 FF0000 || { shot failure; fail "no red mark at ($1, $2)"; }; }

# Chooses a menu entry by pointer clicks: choose_menu meshmenu io open
choose_menu() {
  local title=$1 known popup x y opened=()
  shift
  known=$(visible_windows)
  eval "x=\$title_${title}_x y=\$title_${title}_y"
  point "$x" "$y"
  xdotool click 1
  for entry in "$@"; do
    popup=$(new_window "$known") || fail "the menu of $entry did not open"
    opened+=("$popup")
    known=$(visible_windows)
    eval "$(xdotool getwindowgeometry --shell "$popup" | grep -E '^[XY]=')"
    eval "x=\$((X + entry_${entry}_x)) y=\$((Y + entry_${entry}_y))"
    xdotool mousemove "$x" "$y"
    xdotool click 1
  done
  for popup in "${opened[@]}"; do
    wait_until 20 window_closed "$popup" || fail "the menus did not close after $*"
  done
}

# Answers the modal window that the last command opened, not among $1: types $2, if
# given, and confirms with Return.
answer_modal() {
  local known=$1 text=${2:-} modal
  modal=$(new_window "$known") || fail "no dialog or message box"
  xdotool windowfocus --sync "$modal"
  [ -z "$text" ] || xdotool type --delay 2 "$text"
  xdotool key Return
  wait_until 20 window_closed "$modal" || fail "the dialog or message box did not close"
}
