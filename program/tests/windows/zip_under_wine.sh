#!/usr/bin/env bash
# The users' zip (scripts/pack-windows.sh): packed from the built Windows build, unpacked as
# Chinese Windows reads it (names in GBK), its files and read-me checked, and the unpacked program
# started under Wine on the test command's display until its main window shows; 退出 ends it.
#
#   zip_under_wine.sh BUILD_DIR OUT_DIR     needs DISPLAY, xdotool, imagemagick, python3
set -euo pipefail
build=$(realpath "$1")
out=$(mkdir -p "$2" && realpath "$2")
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../../.." && pwd)
# shellcheck source=../../../scripts/screens_lib.sh
source "$repo/scripts/screens_lib.sh"
: "${DISPLAY:?needs a display (scripts/test-windows.sh starts one)}"

work=$(mktemp -d /tmp/sr-wine-zip.XXXXXX)
program_pid=""
cleanup() {
  [ -z "$program_pid" ] || kill "$program_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "zip under Wine: $*" >&2
  exit 1
}

bash "$repo/scripts/pack-windows.sh" "$build" "$work/salary-register.zip" >/dev/null
# Unpacked with the names read as GBK; a name marked UTF-8 or not GBK is a fault.
python3 - "$work/salary-register.zip" "$work/unpacked" <<'PY' || fail "the zip does not unpack"
import sys, zipfile
with zipfile.ZipFile(sys.argv[1], metadata_encoding="gbk") as archive:
    for info in archive.infolist():
        if info.flag_bits & 0x800:
            sys.exit(f"{info.filename} is marked UTF-8")
    archive.extractall(sys.argv[2])
PY
folder="$work/unpacked/salary-register"
listing=$(cd "$folder" && ls | LC_ALL=C sort | tr '\n' ' ')
expected=$(printf '%s\n' ZhongZhuan.rgq salary-register.exe 居民预扣率表.dat 说明.txt 设置税率表.dat |
  LC_ALL=C sort | tr '\n' ' ')
[ "$listing" = "$expected" ] || fail "the folder holds $listing"
cmp -s "$folder/设置税率表.dat" "$build/data/设置税率表.dat" || fail "the tax rate table differs"

# The read-me: GBK text with CRLF line ends that names the program and the CSV way of importing.
readme=$(iconv -f GBK -t UTF-8 "$folder/说明.txt") || fail "说明.txt is not GBK"
[ "$(grep -c $'\r$' <<<"$readme")" = "$(wc -l <<<"$readme")" ] || fail "说明.txt has a bare LF"
for words in salary-register.exe 工资个税管理程序 CSV 打印机; do
  grep -q "$words" <<<"$readme" || fail "说明.txt does not mention $words"
done

# A program without DLLs of its own: only Windows' own libraries are imported.
x86_64-w64-mingw32-objdump -p "$folder/salary-register.exe" | awk '/DLL Name:/ {print $3}' |
  grep -viE '^(kernel32|user32|gdi32|comdlg32|comctl32|winspool\.drv|ole32|oleaut32|msvcrt|advapi32|shell32|uuid)(\.dll)?$' &&
  fail "the program imports a library that Windows does not have"

cd "$folder"
bash "$repo/scripts/wine-run.sh" salary-register.exe >"$work/program.log" 2>&1 &
program_pid=$!
main=$(await_window 新建) || fail "the unpacked program showed no main window"
sleep 1
shoot_window "$main" "$out/zip-main.png"
# 退出 on the toolbar (x 495 in the window): a new, unchanged register ends without a question.
xdotool mousemove --window "$main" 495 60 click 1
wait "$program_pid" || fail "the program ended with $?"
program_pid=""
echo "zip under Wine: unpacked and started"
