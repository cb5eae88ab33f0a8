#!/usr/bin/env bash
# Start-up and peak memory of salary-register against the empty Qt window (empty_window), both
# started the same way: offscreen, SR_EXIT_WHEN_IDLE=1, in a program directory holding the
# installed data files, one run of each in turn. For each: the time to the first idle moment (as
# the program's idle hook reports it, SR_STARTED_AT), the time until the process has ended, and
# the peak resident set. Prints the medians and their ratios.
# With SR_PEER_CAPTION=1 in the environment the peer shows one Chinese caption (empty_window.cpp).
#   measure.sh PROGRAM EMPTY_WINDOW DATA_DIR [RUNS]
#   e.g. bench/startup/measure.sh build/release/program/salary-register \
#          build/release/bench/startup/empty_window build/release/data 21
set -euo pipefail
program=$(realpath "$1")
peer=$(realpath "$2")
data=$(realpath "$3")
runs=${4:-21}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$data"/* "$work"/
cd "$work"
export QT_QPA_PLATFORM=offscreen SR_EXIT_WHEN_IDLE=1

# One run: milliseconds to the first idle moment and to the end, and the peak RSS in KiB.
run() {
  local start end idle
  start=${EPOCHREALTIME/./}
  SR_STARTED_AT=$start /usr/bin/time -f %M -o "$work/rss" "$1" >/dev/null 2>"$work/err"
  end=${EPOCHREALTIME/./}
  idle=$(sed -n 's/^first idle moment after \([0-9.]*\) ms$/\1/p' "$work/err")
  echo "${idle:-nan} $(((end - start) / 1000)) $(cat "$work/rss")"
}
median() { sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }
column() { cut -d' ' -f"$2" "$work/$1" | median; }

run "$program" >/dev/null  # warm the file cache for both
run "$peer" >/dev/null
: >"$work/program"
: >"$work/peer"
for _ in $(seq "$runs"); do
  run "$program" >>"$work/program"
  run "$peer" >>"$work/peer"
done
echo "medians of $runs runs each  first idle   ended   peak RSS"
printf 'salary-register           %7s ms %5s ms %7s KiB\n' \
  "$(column program 1)" "$(column program 2)" "$(column program 3)"
printf 'empty window              %7s ms %5s ms %7s KiB\n' \
  "$(column peer 1)" "$(column peer 2)" "$(column peer 3)"
awk -v a="$(column program 1)" -v b="$(column peer 1)" -v c="$(column program 2)" \
  -v d="$(column peer 2)" -v e="$(column program 3)" -v f="$(column peer 3)" \
  'BEGIN {printf "ratio                     %7.2fx  %6.2fx  %7.2fx\n", a / b, c / d, e / f}'
