#!/usr/bin/env bash
# Takes the pictures of the clerk's guide (docs/使用说明.md) from the real program: builds the
# release program, makes a register of eight people, and drives the program under Xvfb and
# openbox as a clerk would (open, 修改, 计算, the import preview of a small CSV file, the find,
# tax rate, settings and summary windows, printing the summary and the payslips to PDF files,
# saving on exit), then with a people file the withholding windows (the people, the pay month,
# "why this tax", the month's list). Run it again whenever the look of a window changes, look at
# every picture, and commit them.
#
#   bash scripts/screenshots.sh [OUT_DIR]      default: docs/images
#
# It stops with a message naming the window when a window does not appear, a picture shows
# nothing, or the program does not end as it should.
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
out="$(realpath -m "${1:-$repo/docs/images}")"
cd "$repo"
bash scripts/deps.sh imagemagick
build="$repo/build/release"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DSR_SANITIZE=OFF -DSR_BENCH=OFF >/dev/null
cmake --build "$build" -j2 --target salary-register regdb >/dev/null
# shellcheck source=scripts/screens_lib.sh
source "$repo/scripts/screens_lib.sh"

# A fixed program directory, so that the paths in the pictures stay the same from run to run.
work=/tmp/salary-guide
exec 9>/tmp/salary-guide.lock
flock -n 9 || { echo "screenshots: another run is going on" >&2; exit 1; }
rm -rf "$work"
mkdir -p "$work" "$out"
cp "$build"/data/* "$work"/
register="$work/2026-11.dat"
regdb="$build/tools/regdb/regdb"
"$regdb" copy-structure "$work/ZhongZhuan.rgq" "$register" >/dev/null
"$regdb" import "$register" /dev/stdin >/dev/null <<'EOF'
编号,姓名,基本工资,岗位工资,绩效工资,加班工资,津贴,补贴,奖金,养老保险(免税),医疗保险(免税),失业保险(免税),住房公积金(免税),工会会费,事假扣款,备注
001,张伟,8000,2500,1800,600,300,200,1000,640,160,40,960,40,,
002,王芳,6500,2000,1500,,300,200,800,520,130,32.5,780,32.5,,
003,李娜,12000,4000,3000,,500,200,2000,960,240,60,1440,60,,部门经理
004,刘洋,5200,1500,1000,450,300,200,,416,104,26,624,26,200,事假2天
005,陈静,7200,2200,1600,,300,200,800,576,144,36,864,36,,
006,杨帆,4800,1200,800,300,300,200,,384,96,24,576,24,,试用期
007,赵磊,9500,3000,2200,800,400,200,1500,760,190,47.5,1140,47.5,,
008,黄敏,6000,1800,1200,,300,200,600,480,120,30,720,30,,
EOF

program_pid=""
cleanup() {
  [ -z "$program_pid" ] || kill "$program_pid" 2>/dev/null || true
  stop_display
}
trap cleanup EXIT
start_display
cd "$work"
HOME="$work" "$build/program/salary-register" >"$work/program.log" 2>&1 &
program_pid=$!

# A toolbar button by its x in the main window's client area (the buttons are 36 pixels apart).
declare -A tool_x=([修改]=131 [查找]=167 [计算]=275 [汇总]=311 [税率]=347 [设置]=383)
click_tool() {
  xdotool windowactivate --sync "$main" mousemove --window "$main" "${tool_x[$1]}" 40 click 1
}
# close WINDOW: by its close box's shortcut, and wait until it has gone.
close() {
  xdotool windowactivate --sync "$1" key alt+F4
  await_gone "$1"
}
settle() { sleep "${1:-0.8}"; }
# type_path DIALOG PATH: types PATH into DIALOG's focused name field and confirms it. A file name
# completer's list may take the first Return, so Return is pressed until the dialog has gone.
type_path() {
  local tries
  xdotool type --delay 30 "$2"
  settle 0.5
  for tries in 1 2 3; do
    xdotool windowactivate --sync "$1" key Return 2>/dev/null || break
    SCREENS_WAIT=2 await_gone "$1" 2>/dev/null && return 0
  done
  await_gone "$1"
}

main=$(await_window 新建)
settle 1.5
xdotool windowactivate --sync "$main" key ctrl+o
dialog=$(await_window 打开)
settle
type_path "$dialog" "$register"
main=$(await_window "$register")
click_tool 修改
click_tool 计算
settle 1.5
shoot_window "$main" "$out/main.png"
# The grid's last columns: the tax and the totals that 计算 wrote.
xdotool key End
settle
shoot_window "$main" "$out/calculated.png"
xdotool key Home

# 导入 of a small CSV file: the preview shows what each title matched; 取消 changes nothing.
csv="$work/new-staff.csv"  # ASCII: xdotool may drop a character of a Chinese name
printf '%s\n' 编号,姓名,基本工资,"养老 保险",住房公积金 009,周婷,5600,448,672 010,吴昊,6100,488,732 \
  011,郑洁,4900,392,588 >"$csv"
xdotool windowactivate --sync "$main" key ctrl+i
dialog=$(await_window 打开)
settle
type_path "$dialog" "$csv"
window=$(await_window 导入预览)
settle 1.2
shoot_window "$window" "$out/import-preview.png"
xdotool mousemove --window "$window" 682 465 click 1  # 取消
await_gone "$window"

click_tool 查找
window=$(await_window 查找)
settle
xdotool type --delay 150 李娜
settle 0.5
shoot_window "$window" "$out/find.png"
close "$window"

click_tool 税率
window=$(await_window 税率表)
settle 1.2
shoot_window "$window" "$out/tax.png"
close "$window"

click_tool 设置
window=$(await_window 设置工资项目及免税项目)
settle
xdotool mousemove --window "$window" 120 255 click 1  # the item 失业保险(免税)
settle
shoot_window "$window" "$out/settings.png"
close "$window"

click_tool 汇总
window=$(await_window 工资汇总)
settle 1.2
shoot_window "$window" "$out/summary.png"
xdotool mousemove --window "$window" 303 28 click 1  # 打印
dialog=$(await_window 打印)
settle
shoot_window "$dialog" "$out/print-dialog.png"
pdf="$work/summary.pdf"
xdotool windowactivate --sync "$dialog" key alt+f ctrl+a
type_path "$dialog" "$pdf"
close "$window"
[ -s "$pdf" ] || screens_fail "printing made no PDF"
pdftotext "$pdf" - | grep -q '工 资 汇 总 表' || screens_fail "the printout has no heading"
pdftoppm -png -r 80 -singlefile "$pdf" "$work/page"
convert "$work/page.png" -trim -bordercolor white -border 24 -bordercolor '#b0b0b0' -border 1 \
  "$out/printout.png"

# Payslips (Ctrl+P) with the company name, leaving out the items nobody has, into a PDF.
xdotool windowactivate --sync "$main" key ctrl+p
window=$(await_window 打印工资条和工资表)
settle
xdotool type --delay 150 示例科技有限公司
settle 0.5
shoot_window "$window" "$out/printouts.png"
xdotool mousemove --window "$window" 278 91 click 1  # 打印工资条（省略全员为空或0的项目）
dialog=$(await_window 打印)
settle
pdf="$work/payslips.pdf"
xdotool windowactivate --sync "$dialog" key alt+f ctrl+a
type_path "$dialog" "$pdf"
# While the printing window is up, a click on 关闭 is lost; so it is clicked until the window goes.
for tries in 1 2 3 4 5; do
  xdotool windowactivate --sync "$window" mousemove --window "$window" 372 199 click 1 2>/dev/null ||
    break
  SCREENS_WAIT=2 await_gone "$window" 2>/dev/null && break
done
await_gone "$window"
[ -s "$pdf" ] || screens_fail "printing the payslips made no PDF"
pdftotext "$pdf" - | grep -q '示例科技有限公司' || screens_fail "the payslips have no company name"
pdftotext "$pdf" - | grep -q '黄敏' || screens_fail "the payslips miss the last person"
pdftoppm -png -r 80 -f 1 -l 1 -singlefile "$pdf" "$work/payslips"
# The first three strips of the page are enough to show how a payslip looks.
convert "$work/payslips.png" -trim +repage -crop 100%x43%+0+0 +repage -bordercolor white -border 24 -bordercolor '#b0b0b0' -border 1 \
  "$out/payslips.png"

# Exit with the calculation unsaved: the program asks, and Yes saves.
xdotool windowactivate --sync "$main" key ctrl+e
window=$(await_window 保存文件提示)
settle
shoot_window "$window" "$out/save-prompt.png"
xdotool key alt+y
status=0
timeout 20 tail --pid="$program_pid" -f /dev/null || screens_fail "the program did not end"
wait "$program_pid" || status=$?
program_pid=""
[ "$status" -eq 0 ] || screens_fail "the program ended with status $status"
# The saved register holds the tax that 计算 wrote: 张伟's is 550.
"$regdb" dump "$register" | grep -q '^001,张伟,.*,550,2390,12010,' ||
  screens_fail "the saved register does not hold the calculated tax"

# The withholding chapter: a people file (residents by the cumulative method, one non-resident),
# then the register again as the first month of the year: the people window, the pay-month
# question, "why this tax" for 张伟 and the month's list after saving.
"$regdb" create "$work/人员信息.dat" --field 编号:text:20 --field 姓名:text:20 \
  --field 证件类型:text:20 --field 证件号码:text:30 --field 身份:text:8 --field 入职年月:text:8 \
  --field 六万元标准:text:4 --field 婴幼儿照护:double --field 子女教育:double --field 继续教育:double \
  --field 住房贷款利息:double --field 住房租金:double --field 赡养老人:double \
  --field 个人养老金:double --field 其他扣除:double --field 减免税额:double >/dev/null
"$regdb" import "$work/人员信息.dat" /dev/stdin >/dev/null <<'PEOPLE'
编号,姓名,证件类型,证件号码,身份,入职年月,六万元标准,婴幼儿照护,子女教育,继续教育,住房贷款利息,住房租金,赡养老人,个人养老金,其他扣除,减免税额
001,张伟,居民身份证,110101198503120025,居民,,,,2000,,1000,,3000,,,
002,王芳,居民身份证,310104199007050049,居民,,,,,,,1500,,,,
003,李娜,居民身份证,440305198802200036,居民,,,2000,2000,,,,3000,,,
004,刘洋,居民身份证,320102199211110052,居民,,是,,,,,,,,,
005,陈静,居民身份证,510107198706060029,居民,,,,,,1000,,,,,
006,杨帆,居民身份证,330106199509180018,居民,2026-01,,,,,,1500,,,,
007,赵磊,居民身份证,420102198301010038,居民,,,,2000,,,,2000,,,
008,黄敏,护照,E12345678,非居民,,,,,,,,,,,
PEOPLE
HOME="$work" "$build/program/salary-register" >>"$work/program.log" 2>&1 &
program_pid=$!
main=$(await_window 新建)
settle 1.5
xdotool windowactivate --sync "$main" key ctrl+o
dialog=$(await_window 打开)
settle
type_path "$dialog" "$register"
main=$(await_window "$register")
settle
xdotool windowactivate --sync "$main" key alt+w Down Return  # 个税 → 人员信息
window=$(await_window 人员信息)
settle 1.2
shoot_window "$window" "$out/people.png"
close "$window"
click_tool 修改
click_tool 计算
window=$(await_window 计算月份)
settle
xdotool windowactivate --sync "$window" key ctrl+a
xdotool type --delay 80 2026-01
settle 0.5
shoot_window "$window" "$out/pay-month.png"
xdotool mousemove --window "$window" 196 61 click 1  # 确定
await_gone "$window"
settle 1.2
xdotool windowactivate --sync "$main" key ctrl+Home alt+e Up Return  # 编辑 → 为什么扣这些税
window=$(await_window 为什么扣这些税)
settle
shoot_window "$window" "$out/why-tax.png"
xdotool windowactivate --sync "$window" key Return
await_gone "$window"
xdotool windowactivate --sync "$main" key ctrl+s
settle 1.5
[ -s "$work/扣缴台账2026.dat" ] || screens_fail "saving made no ledger"
xdotool windowactivate --sync "$main" key alt+w Up Return  # 个税 → 本月扣缴明细
window=$(await_window "2026年1月 个人所得税扣缴明细")
settle 1.2
shoot_window "$window" "$out/withholding-list.png"
close "$window"
xdotool windowactivate --sync "$main" key ctrl+e
timeout 20 tail --pid="$program_pid" -f /dev/null || screens_fail "the program did not end"
wait "$program_pid" || screens_fail "the program ended with an error"
program_pid=""

for picture in "$out"/*.png; do shrink_png "$picture"; done
du -ch "$out"/*.png
