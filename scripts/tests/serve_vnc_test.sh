#!/usr/bin/env bash
# The program served without a display: only 127.0.0.1 reaches the port, only with the password
# made on first use, and every window comes in a frame with a close box that closes it.
#
#   serve_vnc_test.sh PROGRAM DATA_DIR SCREENSHOT.jpg
# Exits 77 (skipped) when a tool is missing: scripts/deps.sh installs them all.
set -euo pipefail
program="$1" data="$2" screenshot="$3"
here="$(cd "$(dirname "$0")" && pwd)"
serve="$here/../serve_vnc.sh"
probe=(/usr/bin/python3 "$here/vnc_probe.py")

for tool in Xvnc vncpasswd openbox xauth vncsnapshot xprop xdotool wmctrl ss /usr/bin/python3; do
  if ! command -v "$tool" >/dev/null; then
    echo "SKIP: $tool is missing (bash scripts/deps.sh)"
    exit 77
  fi
done

scratch="$(mktemp -d)"
work="$scratch/work"
mkdir -p "$work"
cp "$data"/* "$work"/ 2>/dev/null || true
port="$("${probe[@]}" free-port)"
servers=()

# Each server runs in a session of its own, so that its whole process group can be ended by id.
start_server() {  # NAME [WORK_DIR]
  SR_VNC_PORT="$port" setsid bash "$serve" "${2:-$work}" "$program" >"$scratch/$1.out" 2>&1 &
  server=$!
  servers+=("$server")
}

fail() { echo "FAIL: $*"; for f in "$scratch"/*.out; do echo "--- $f"; cat "$f"; done; exit 1; }
# Retries `CONDITION...` for up to 30 s.
eventually() {
  local tries
  for ((tries = 0; tries < 150; ++tries)); do "$@" >/dev/null 2>&1 && return 0; sleep 0.2; done
  return 1
}
group_alive() { [ -n "$(ps -o pid= --sid "$1")" ]; }
group_gone() { ! group_alive "$1"; }
program_pid() { ps -o pid=,comm= --sid "$1" | awk '$2 == "salary-register" {print $1}'; }
program_running() { [ -n "$(program_pid "$1")" ]; }
listening() { ss -ltnH "sport = :$port" | grep -q .; }
served() { grep -q "served on VNC display" "$scratch/$1.out"; }
window_of() {  # PID TITLE: the id of that program's managed window with that title
  wmctrl -lp | awk -v pid="$1" -v title="$2" '$3 == pid && $5 == title {print $1; exit}'
}
has_window() { [ -n "$(window_of "$@")" ]; }
no_window() { [ -z "$(window_of "$@")" ]; }
# A frame drawn by the window manager (a title bar above) with a close box.
check_framed() {  # WINDOW NAME
  local extents actions
  extents="$(xprop -id "$1" _NET_FRAME_EXTENTS)"
  actions="$(xprop -id "$1" _NET_WM_ALLOWED_ACTIONS)"
  echo "$2: $extents"
  [[ "$extents" =~ =\ [0-9]+,\ [0-9]+,\ ([0-9]+), ]] && [ "${BASH_REMATCH[1]}" -gt 0 ] ||
    fail "$2 has no title bar"
  [[ "$actions" == *_NET_WM_ACTION_CLOSE* ]] || fail "$2 has no close box"
}

# Ends what a failed check left running: politely first, so that the server clears up after itself.
cleanup() {
  local pid tries
  for pid in "${servers[@]}"; do
    kill -TERM -- "-$pid" 2>/dev/null || continue
    for ((tries = 0; tries < 50; ++tries)); do group_alive "$pid" || break; sleep 0.1; done
    kill -KILL -- "-$pid" 2>/dev/null || true
  done
  rm -rf "$scratch"
}
trap cleanup EXIT

# First use: the password is made, printed once and kept private.
start_server first
first=$server
eventually served first || fail "the program is not served"
listening || fail "nothing listens on port $port"
password="$(sed -n 's/^The VNC password is \([^ ]*\) .*/\1/p' "$scratch/first.out")"
[ ${#password} -eq 8 ] || fail "no password printed on first use"
[ "$(stat -c %a "$work/vnc-passwd")" = 600 ] || fail "the password file is not mode 600"

# Every listening socket of the served display is on 127.0.0.1 (no X11 port, no [::1], no *).
pids="$(ps -o pid= --sid "$first" | tr -s ' \n' '|' | sed 's/^|//; s/|$//')"
sockets="$(ss -ltnpH | grep -E "pid=($pids)," || true)"
echo "listening: $sockets"
[ -n "$sockets" ] || fail "no listening socket found"
if awk '{print $4}' <<<"$sockets" | grep -v "^127\.0\.0\.1:$port\$"; then
  fail "the display listens beyond 127.0.0.1:$port"
fi

# Without the password nobody gets in: over VNC, nor straight to the X display. Wrong answers of
# another user of the machine, which come from 127.0.0.1 as the clerk's viewer does, do not shut
# the clerk out: the right password still gets in at once.
"${probe[@]}" rfb-refuses 127.0.0.1 "$port" 8 ||
  fail "the VNC server lets in a client without the password, or stops asking for it"
timeout 20 vncsnapshot -quiet -allowblank -encodings raw -passwd "$work/vnc-passwd" \
  "127.0.0.1::$port" "$scratch/after-wrong-passwords.jpg" ||
  fail "wrong passwords of another client shut out the one with the password"
display="$(sed -n 's/.*VNC display \(:[0-9]*\) .*/\1/p' "$scratch/first.out")"
"${probe[@]}" x11-refuses "$display" || fail "the X display lets in a client without its cookie"

# A second server on the same port reports the failure and ends instead of waiting.
mkdir -p "$scratch/other"
start_server second "$scratch/other"
eventually group_gone "$server" || fail "a second server on a taken port does not end"
grep -q "did not start" "$scratch/second.out" || fail "the taken port is not reported"

# The windows, seen with the display's own cookie.
eventually program_running "$first" || fail "the program is not running"
pid="$(program_pid "$first")"
export DISPLAY="$display"
XAUTHORITY="$(tr '\0' '\n' <"/proc/$pid/environ" | sed -n 's/^XAUTHORITY=//p')"
export XAUTHORITY
eventually has_window "$pid" 新建 || fail "the main window does not show"
main="$(window_of "$pid" 新建)"
check_framed "$main" "the main window"
xdotool windowactivate --sync "$main" key F3
eventually has_window "$pid" 查找 || fail "F3 opens no find window"
find="$(window_of "$pid" 查找)"
check_framed "$find" "the find window"

# Through the server, with the password: the picture a VNC user sees.
sleep 0.5  # let the find window draw
timeout 20 vncsnapshot -quiet -allowblank -encodings raw -passwd "$work/vnc-passwd" \
  "127.0.0.1::$port" "$screenshot" ||
  fail "no screenshot through the server with the password"
size="$("${probe[@]}" jpeg-size "$screenshot")"
[ "$size" = 1280x800 ] || fail "the screenshot is $size, not the 1280x800 screen"
echo "screenshot: $screenshot"

# The close box closes the find window, and the main window's ends the program and the display.
wmctrl -i -c "$find"
eventually no_window "$pid" 查找 || fail "the find window's close box does not close it"
wmctrl -i -c "$main"
eventually group_gone "$first" || fail "closing the main window leaves the served display running"
[ ! -e "$XAUTHORITY" ] || fail "the run's private folder (X cookie) is left behind"

# A later run keeps the password and does not print it again.
before="$(md5sum <"$work/vnc-passwd")"
start_server later
eventually served later || fail "the later run does not serve the program"
! grep -q "password is" "$scratch/later.out" || fail "the password is printed again"
[ "$(md5sum <"$work/vnc-passwd")" = "$before" ] || fail "the password changed"
kill -TERM "$server"
eventually group_gone "$server" || fail "an interrupted run leaves processes behind"
echo "passed"
