#!/usr/bin/env bash
# Packs the Windows program for its users: a zip with one folder, salary-register/, holding
# salary-register.exe (without debug information), the installed data files and 说明.txt, a short
# read-me in Chinese. Names inside the zip and the read-me are GBK with CRLF line ends, as
# Chinese Windows reads a zip without the UTF-8 flag and as Notepad shows a text.
#
#   pack-windows.sh [BUILD_DIR [OUT.zip]]
#   BUILD_DIR  the built Windows build (default build/windows: cmake --build --preset windows)
#   OUT.zip    default BUILD_DIR/salary-register-windows.zip
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
build="$(realpath "${1:-$repo/build/windows}")"
out="$(realpath -m "${2:-$build/salary-register-windows.zip}")"
program="$build/program/salary-register.exe"
data="$build/data"
[ -f "$program" ] || { echo "pack-windows.sh: no $program (build it first)" >&2; exit 1; }
[ -d "$data" ] || { echo "pack-windows.sh: no data files in $data" >&2; exit 1; }
bash "$repo/scripts/install-missing.sh" zip

stage="$(mktemp -d)"
trap 'rm -rf "$stage"' EXIT
folder="$stage/salary-register"
mkdir "$folder"
x86_64-w64-mingw32-strip -o "$folder/salary-register.exe" "$program"
# gbk_name NAME: the name's GBK bytes, which the file gets in the zip.
gbk_name() { printf '%s' "$1" | iconv -f UTF-8 -t GBK; }
for file in "$data"/*; do
  cp "$file" "$folder/$(gbk_name "$(basename "$file")")"
done
sed 's/$/\r/' "$repo/packaging/windows/说明.txt" | iconv -f UTF-8 -t GBK >"$folder/$(gbk_name 说明.txt)"

rm -f "$out"
# -X: no Unix owners and times beyond the plain ones; LC_ALL=C: names stored as the bytes they are.
(cd "$stage" && LC_ALL=C zip -q -X -r "$out" salary-register)
echo "$out"
