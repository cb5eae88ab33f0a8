#!/usr/bin/env bash
# Takes the pictures in this folder: the program's five windows at 100 %, each cut with its frame
# from a 1280 x 800 screen under Xvfb and openbox (every window opens at 50, 50).
# Needs xvfb, openbox, xdotool and imagemagick.
#   take.sh PROGRAM DATA_DIR [OUT_DIR]   e.g. take.sh build/release/program/salary-register build/release/data
set -euo pipefail
program=$(realpath "$1")
data=$(realpath "$2")
out=$(realpath "${3:-$(dirname "$0")}")
work=$(mktemp -d)
cp "$data"/* "$work"/
n=90
while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
display=:$n
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display
sleep 1
openbox >/dev/null 2>&1 &
wm=$!
cleanup() { kill "$wm" "$xvfb" 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT
sleep 1

cd "$work"
"$program" >/dev/null 2>&1 &
main_pid=$!
main=$(xdotool search --sync --name '^新建$' | head -1)
sleep 1.5
shot() { import -window root -crop "$2+50+50" +repage "$out/$1.png"; }
shot main 980x562
# A toolbar button by its x in the main window's client area; the window it opens.
modal() {
  xdotool mousemove --window "$main" "$1" 40 click 1
  local window
  window=$(xdotool search --sync --name "^$2\$" | head -1)
  sleep 1.2
  shot "$3" "$4"
  xdotool windowactivate --sync "$window" key alt+F4
  sleep 0.8
}
modal 167 查找 find 362x148
modal 347 税率表 tax 563x439
modal 383 设置工资项目及免税项目 settings 364x400
modal 311 工资汇总 summary 350x487
xdotool windowactivate --sync "$main" key ctrl+e
wait "$main_pid"
