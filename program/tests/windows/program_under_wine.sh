#!/usr/bin/env bash
# salary-register.exe under Wine, driven as a user would on the test command's display: the main
# window found by its caption, the tax rate and settings windows opened from the toolbar, two
# people typed and pasted (Chinese names through the clipboard), the tax worked out, the register
# saved through the save dialog and read back by the Linux regdb, payslips printed through the
# print dialog to the test PostScript printer, and the program ended from the toolbar. Pictures
# of each window go to OUT_DIR (those in screenshots/ beside this script were taken by it).
#
#   program_under_wine.sh PROGRAM.exe DATA_DIR INSTALL_TEST_PRINTER.exe OUT_DIR
#   needs DISPLAY (Wine's virtual desktop on it), SR_LINUX_REGDB, xdotool, xclip, imagemagick,
#   ghostscript and poppler-utils
set -euo pipefail
program=$(realpath "$1")
data=$(realpath "$2")
install_printer=$(realpath "$3")
out=$(mkdir -p "$4" && realpath "$4")
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../../.." && pwd)
# shellcheck source=../../../scripts/screens_lib.sh
source "$repo/scripts/screens_lib.sh"
: "${DISPLAY:?needs a display (scripts/test-windows.sh starts one)}"
regdb=${SR_LINUX_REGDB:?needs the Linux regdb (scripts/test-windows.sh builds it)}
wine_run=("bash" "$repo/scripts/wine-run.sh")

work=$(mktemp -d /tmp/sr-wine-program.XXXXXX)
program_pid=""
clipboard_pid=""
cleanup() {
  [ -z "$clipboard_pid" ] || kill "$clipboard_pid" 2>/dev/null || true
  [ -z "$program_pid" ] || kill "$program_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "program under Wine: $*" >&2
  import -window root "$out/failed.png" 2>/dev/null || true
  exit 1
}

# The program directory: the installed data files and the program itself.
cp "$data"/* "$program" "$work"/
"${wine_run[@]}" "$install_printer" || fail "the test printer could not be installed"
cd "$work"
"${wine_run[@]}" salary-register.exe >"$work/program.log" 2>&1 &
program_pid=$!

# click WINDOW X Y: a left click at X, Y inside WINDOW (its frame included, drawn by Wine).
click() { xdotool mousemove --window "$1" "$2" "$3" click 1; sleep 0.4; }
# close_box WINDOW: the caption's close button, 13 pixels in from the right edge.
close_box() {
  local width
  width=$(xwininfo -id "$1" | awk '/Width:/ {print $2}')
  click "$1" $((width - 13)) 12
  await_gone "$1"
}
# shoot WINDOW NAME: the window's picture as OUT_DIR/NAME.png, kept small.
shoot() {
  sleep 0.8
  shoot_window "$1" "$out/$2.png" && shrink_png "$out/$2.png"
}
# cell ROW COLUMN: the middle of a cell of the main window's register grid.
cell_x=(32 97 177)
cell() { click "$main" "${cell_x[$2]}" $((97 + 20 * $1)); }
paste_text() {
  printf '%s' "$1" | xclip -selection clipboard -quiet >/dev/null 2>&1 &
  clipboard_pid=$!
  sleep 0.3
  xdotool key ctrl+v
  sleep 0.4
  kill "$clipboard_pid" 2>/dev/null || true
  clipboard_pid=""
}
# await_file FILE: FILE exists and has stopped growing.
await_file() {
  local size=-1 tries=0
  while [ ! -s "$1" ] || [ "$(stat -c %s "$1")" != "$size" ]; do
    [ -s "$1" ] && size=$(stat -c %s "$1")
    tries=$((tries + 1))
    [ "$tries" -lt 100 ] || fail "$1 was not written"
    sleep 0.3
  done
}
# Where the work folder is for Windows programs (Wine's drive Z: is /).
windows_work="Z:${work//\//\\}"

main=$(await_window 新建) || fail "no main window"
# Toolbar buttons by their x in the window (y 60): 计算 300, 税率 378, 设置 416, 退出 495.
click "$main" 378 60
tax=$(await_window 税率表) || fail "税率 opened no tax rate window"
shoot "$tax" tax
close_box "$tax"
click "$main" 416 60
settings=$(await_window 设置工资项目及免税项目) || fail "设置 opened no settings window"
shoot "$settings" settings
close_box "$settings"

# Two people: number and amount typed, the name pasted.
cell 1 0 && xdotool type 001 && xdotool key Return
cell 1 1 && paste_text 张三
cell 1 2 && xdotool type 8000.5 && xdotool key Return
cell 2 0 && xdotool type 002 && xdotool key Return
cell 2 1 && paste_text 李四
cell 2 2 && xdotool type 12000 && xdotool key Return
click "$main" 300 60
xdotool key ctrl+s
save_dialog=$(await_window 另存为) || fail "Ctrl+S opened no save dialog"
xdotool type gui.dat && xdotool key Return
await_gone "$save_dialog"
await_file "$work/gui.dat"
shoot "$main" main

# Read back on Linux: number, name, basic pay and the tax worked out (90.05 on 8000.5 and 490 on
# 12000 with the installed table), then the trailing blank record.
"$regdb" dump "$work/gui.dat" | tr -d '\r' | cut -d, -f1-3,19 >"$work/dump.csv" ||
  fail "regdb cannot read it"
expected=$'编号,姓名,基本工资,个人所得税\n001,张三,8000.5,90.05\n002,李四,12000,490\n,,0,0'
[ "$(cat "$work/dump.csv")" = "$expected" ] ||
  fail "the saved register reads back as $(cat -A "$work/dump.csv")"

# Payslips through the print dialog to the test printer, which prints to a file it asks for.
xdotool key ctrl+p
printouts=$(await_window 打印工资条和工资表) || fail "Ctrl+P opened no printouts window"
click "$printouts" 76 112
print_dialog=$(await_window 打印) || fail "打印工资条 opened no print dialog"
shoot "$print_dialog" print-dialog
xdotool key Return
await_window 打印到文件 >/dev/null || fail "the test printer asked for no file"
xdotool type "$windows_work\\payslips.ps" && xdotool key Return
await_file "$work/payslips.ps"
gs -q -dNOPAUSE -dBATCH -dSAFER -sDEVICE=png16m -r72 -dTextAlphaBits=4 -dGraphicsAlphaBits=4 -dFirstPage=1 -dLastPage=1 \
  -sOutputFile="$out/printout.png" "$work/payslips.ps" || fail "the printout is no PostScript"
shrink_png "$out/printout.png"
ps2pdf "$work/payslips.ps" "$work/payslips.pdf"
text=$(pdftotext "$work/payslips.pdf" -)
for word in 工资条 张三 李四 8000.5 12000; do
  grep -q "$word" <<<"$text" || fail "the printout lacks $word"
done
click "$printouts" 375 220
await_gone "$printouts"

# 退出: nothing is left to save, so the program ends without a question.
click "$main" 495 60
wait "$program_pid" || fail "the program ended with $?"
program_pid=""
echo "program under Wine: every step done; pictures in $out"
