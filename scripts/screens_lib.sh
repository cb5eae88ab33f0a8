# Helpers for scripts that take pictures of the program's real windows under Xvfb and openbox.
# Sourced, not run. Every helper fails loudly (a message naming what is missing, status 1) rather
# than leaving a picture of the wrong window or of nothing.

# Seconds a window may take to appear before the script gives up.
SCREENS_WAIT="${SCREENS_WAIT:-20}"

screens_fail() {
  echo "screenshots: $*" >&2
  return 1
}

# start_display: a private X display with a window manager (so windows have frames); sets
# DISPLAY. stop_display ends both.
start_display() {
  local n=90
  while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
  SCREENS_XVFB=$!
  export DISPLAY=":$n"
  local tries=0
  until xdpyinfo >/dev/null 2>&1; do
    tries=$((tries + 1))
    [ "$tries" -lt 50 ] || { screens_fail "Xvfb on $DISPLAY did not start"; return 1; }
    sleep 0.1
  done
  openbox >/dev/null 2>&1 &
  SCREENS_WM=$!
  sleep 1
}

stop_display() {
  [ -z "${SCREENS_WM:-}" ] || kill "$SCREENS_WM" 2>/dev/null || true
  [ -z "${SCREENS_XVFB:-}" ] || kill "$SCREENS_XVFB" 2>/dev/null || true
}

# await_window TITLE: prints the id of the window whose whole title is TITLE once it is shown;
# fails when none appears within SCREENS_WAIT seconds. Searches again and again rather than with
# xdotool's --sync, which would wait for ever, and which gives up at once when a window it looks
# at closes during the search (as a file dialog does just before the window it opens appears).
await_window() {
  local id="" deadline=$((SECONDS + SCREENS_WAIT))
  while :; do
    id=$(timeout "$SCREENS_WAIT" xdotool search --onlyvisible --name "^$1\$" 2>/dev/null |
      head -1) || true
    [ -z "$id" ] && [ "$SECONDS" -lt "$deadline" ] || break
    sleep 0.2
  done
  [ -n "$id" ] || { screens_fail "the window \"$1\" did not appear"; return 1; }
  echo "$id"
}

# await_gone ID: waits until the window ID has closed; fails when it stays.
await_gone() {
  local tries=0
  while xwininfo -id "$1" >/dev/null 2>&1 &&
    xwininfo -id "$1" 2>/dev/null | grep -q 'IsViewable'; do
    tries=$((tries + 1))
    [ "$tries" -lt $((SCREENS_WAIT * 10)) ] || { screens_fail "window $1 did not close"; return 1; }
    sleep 0.1
  done
}

# shoot_window ID FILE: the window with its frame, cut from the screen.
shoot_window() {
  local x y w h extents left right top bottom
  eval "$(xwininfo -id "$1" | awk '/Absolute upper-left X/ {print "x=" $4}
    /Absolute upper-left Y/ {print "y=" $4} /Width:/ {print "w=" $2} /Height:/ {print "h=" $2}')"
  extents=$(xprop -id "$1" _NET_FRAME_EXTENTS | sed -n 's/.*= *//p' | tr -d ' ')
  IFS=, read -r left right top bottom <<<"${extents:-0,0,0,0}"
  import -window root -crop "$((w + left + right))x$((h + top + bottom))+$((x - left))+$((y - top))" \
    +repage "$2"
  check_picture "$2"
}

# check_picture FILE: fails when FILE is no picture or shows next to nothing (a window that had
# not painted yet, a black screen): a window shows text, so it has many colours.
check_picture() {
  local colours
  colours=$(identify -format '%k' "$1" 2>/dev/null) ||
    { screens_fail "$1 is not a picture"; return 1; }
  [ "$colours" -ge 8 ] || { screens_fail "$1 shows almost nothing ($colours colours)"; return 1; }
}

# shrink_png FILE: fewer colours and the best compression, so the pictures stay small in git.
# Text stays sharp: the picture is not scaled.
shrink_png() {
  convert "$1" -strip -dither None -colors 96 -define png:compression-level=9 "PNG8:$1"
  check_picture "$1"
}
