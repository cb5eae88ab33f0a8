#!/usr/bin/env bash
# The screenshot helpers refuse what would leave a wrong picture in the guide: a window that never
# appears, a blank capture, a file that is no picture; and shrinking keeps a picture's size.
#   screens_lib_test.sh PICTURE_OF_A_REAL_WINDOW
set -uo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
command -v identify >/dev/null && command -v convert >/dev/null ||
  { echo "imagemagick is not installed"; exit 77; }
# shellcheck source=scripts/screens_lib.sh
source "$here/../screens_lib.sh"
real_window="$1"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
passed=0 failed=0
expect() {  # expect ok|fail DESCRIPTION COMMAND...
  local want="$1" what="$2" status=0
  shift 2
  "$@" 2>"$tmp/stderr" || status=$?
  if { [ "$want" = ok ] && [ "$status" -eq 0 ]; } || { [ "$want" = fail ] && [ "$status" -ne 0 ]; }; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAILED: $what (status $status): $(cat "$tmp/stderr")"
  fi
}
# fails_saying TEXT COMMAND...: COMMAND fails and its message holds TEXT.
fails_saying() {
  local text="$1"
  shift
  if "$@" 2>"$tmp/said"; then return 1; fi
  grep -qF "$text" "$tmp/said"
}

# Pictures.
convert -size 400x300 xc:black "$tmp/black.png"
convert -size 400x300 xc:white -fill '#3060c0' -draw 'rectangle 10,10 200,40' "$tmp/two.png"
echo "not a picture" >"$tmp/text.png"
expect ok "a black screen is refused, naming the file" \
  fails_saying "$tmp/black.png" check_picture "$tmp/black.png"
expect fail "a plain two-colour box is refused" check_picture "$tmp/two.png"
expect fail "a file that is no picture is refused" check_picture "$tmp/text.png"
expect ok "a real window is taken" check_picture "$real_window"
cp "$real_window" "$tmp/window.png"
expect ok "shrinking a real window" shrink_png "$tmp/window.png"
expect ok "... keeps its width and height (text is not scaled)" \
  test "$(identify -format '%wx%h' "$tmp/window.png")" = "$(identify -format '%wx%h' "$real_window")"

# A window that never appears: xdotool's --sync would wait for ever; the helper must give up.
mkdir "$tmp/bin"
printf '#!/bin/sh\nexec sleep 1000\n' >"$tmp/bin/xdotool"
chmod +x "$tmp/bin/xdotool"
waiting() { PATH="$tmp/bin:$PATH" SCREENS_WAIT=2 await_window 税率表; }
expect ok "a window that never appears fails, naming it" fails_saying '"税率表" did not appear' waiting

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
