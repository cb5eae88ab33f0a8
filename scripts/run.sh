#!/usr/bin/env bash
# Installs what a fresh machine lacks, builds the program (release, no sanitizers), sets up the
# per-user working folder with the installed data files and starts the program there.
#
#   bash scripts/run.sh            start the program (without a display: served over VNC to this
#                                  machine alone, behind a password; see scripts/serve_vnc.sh)
#   SR_VNC_PORT=5901 bash ...      another port for the VNC server
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
cd "$repo"
bash scripts/deps.sh

build="$repo/build/release"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DSR_SANITIZE=OFF -DSR_BENCH=OFF >/dev/null
# The program's target depends on the generator of the installed data files when that exists.
cmake --build "$build" -j"$(nproc)" --target salary-register

# The program directory is the current directory at start-up: a folder of the user's own, so that
# an edited tax rate table or renamed titles survive a rebuild.
work="${SR_WORK_DIR:-${XDG_DATA_HOME:-$HOME/.local/share}/salary-register}"
# The salaries and ID numbers in it are the user's alone: a new folder is made private; one that
# exists is left as its owner set it, with a word when others may look into it.
if [ ! -d "$work" ]; then
  mkdir -p "$(dirname "$work")"
  mkdir -m 700 "$work"
elif [ -n "$(find "$work" -maxdepth 0 -perm /077)" ]; then
  echo "Warning: other users of this machine may read $work (mode $(stat -c %a "$work"))." >&2
  echo "         To keep the salaries to yourself: chmod 700 '$work'" >&2
fi
for name in ZhongZhuan.rgq 设置税率表.dat 居民预扣率表.dat; do
  source_file="$build/data/$name"
  if [ -e "$work/$name" ]; then
    continue  # first use only: never overwrite the user's copy
  elif [ -e "$source_file" ]; then
    cp "$source_file" "$work/$name"
    echo "Installed $name into $work"
  else
    echo "Note: $source_file was not built; the program starts without it." >&2
  fi
done

cd "$work"
program="$build/program/salary-register"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  exec bash "$repo/scripts/serve_vnc.sh" "$work" "$program"
fi
exec "$program"
