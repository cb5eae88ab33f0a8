#!/usr/bin/env bash
# Serves a program on a display of its own that only this machine can reach, behind a password:
# TigerVNC's Xvnc listening on 127.0.0.1 alone, with openbox so that every window has its frame
# and close box. Ends the display when the program ends, and everything when it is interrupted.
#
#   serve_vnc.sh WORK_DIR PROGRAM [ARGS...]    runs PROGRAM in WORK_DIR, its program directory
#   SR_VNC_PORT=5901 serve_vnc.sh ...    another port (default 5900)
#
# The password is made on first use and printed that once; WORK_DIR/vnc-passwd keeps it (in
# Xvnc's own encoding, mode 600). Delete that file to be given a new one.
set -euo pipefail
work="$1"
shift
port="${SR_VNC_PORT:-5900}"
passwd_file="$work/vnc-passwd"

for tool in Xvnc vncpasswd openbox xauth; do
  if ! command -v "$tool" >/dev/null; then
    echo "$tool is missing: run bash scripts/deps.sh" >&2
    exit 1
  fi
done

# Eight characters (all that VNC authentication reads) from an alphabet without look-alikes.
make_password() {
  local alphabet=ABCDEFGHJKLMNPQRSTUVWXYZabcdefghijkmnopqrstuvwxyz23456789 password="" byte
  for byte in $(od -An -tu1 -N8 /dev/urandom); do
    password+="${alphabet:byte % ${#alphabet}:1}"
  done
  printf '%s' "$password"
}

if [ ! -s "$passwd_file" ]; then
  password="$(make_password)"
  (umask 077 && printf '%s\n' "$password" | vncpasswd -f >"$passwd_file.new")
  mv "$passwd_file.new" "$passwd_file"
  echo "The VNC password is $password (shown only this once; delete $passwd_file for a new one)."
fi
chmod 600 "$passwd_file"  # a copy or an editor may have opened it up

# Private to this run: the X cookie, Xvnc's log and the ready marks.
runtime="$(mktemp -d "${TMPDIR:-/tmp}/salary-register-vnc.XXXXXX")"
export XAUTHORITY="$runtime/Xauthority"
touch "$XAUTHORITY"
cookie="$(od -An -tx1 -N16 /dev/urandom | tr -d ' \n')"
# Xvnc accepts every cookie in its file; the client's entry follows once the display is known.
xauth -q -f "$XAUTHORITY" add :0 . "$cookie"

xvnc_pid="" wm_pid="" program_pid=""
stop() {
  local pid
  for pid in $program_pid $wm_pid $xvnc_pid; do kill -TERM "$pid" 2>/dev/null || true; done
  for pid in $program_pid $wm_pid $xvnc_pid; do wait "$pid" 2>/dev/null || true; done
  rm -rf "$runtime"
}
trap stop EXIT
trap 'exit 130' INT
trap 'exit 143' TERM HUP

# Waits up to 30 s, while PID lives, until `test CONDITION...` holds.
wait_until() {
  local pid="$1" tries
  shift
  for ((tries = 0; tries < 300; ++tries)); do
    test "$@" && return 0
    kill -0 "$pid" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}

# Bound to 127.0.0.1 alone (-localhost would add [::1]); no X11 port either. No blacklist: Xvnc
# blocks by address, not by connection, and every local user comes from 127.0.0.1, so five wrong
# passwords of anyone would shut the clerk out; the random password is what keeps others out.
Xvnc -displayfd 3 -auth "$XAUTHORITY" -nolisten tcp -interface 127.0.0.1 \
  -rfbport "$port" -SecurityTypes VncAuth -rfbauth "$passwd_file" -UseBlacklist=0 \
  -geometry 1280x800 -depth 24 -desktop salary-register \
  3>"$runtime/display" >"$runtime/xvnc.log" 2>&1 &
xvnc_pid=$!
if ! wait_until "$xvnc_pid" -s "$runtime/display"; then
  echo "The VNC server did not start (is port $port taken?):" >&2
  tail -n 5 "$runtime/xvnc.log" >&2
  exit 1
fi
display=":$(tr -d '\n' <"$runtime/display")"
xauth -q -f "$XAUTHORITY" add "$display" . "$cookie"
export DISPLAY="$display"

openbox --sm-disable --startup "touch $runtime/wm-ready" >"$runtime/openbox.log" 2>&1 &
wm_pid=$!
if ! wait_until "$wm_pid" -e "$runtime/wm-ready"; then
  echo "The window manager did not start:" >&2
  tail -n 5 "$runtime/openbox.log" >&2
  exit 1
fi

echo "The program is served on VNC display $display at 127.0.0.1:$port, for this machine only."
echo "Connect a VNC viewer to it (for example: vncviewer 127.0.0.1::$port) with the password;"
echo "from another machine, tunnel the port: ssh -L $port:127.0.0.1:$port THIS-MACHINE."

cd "$work"
QT_QPA_PLATFORM=xcb "$@" &
program_pid=$!
status=0
wait "$program_pid" || status=$?
program_pid=""
exit "$status"
