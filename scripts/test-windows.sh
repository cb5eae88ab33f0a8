#!/usr/bin/env bash
# Builds the Windows build (MinGW-w64 cross-compiler, `cmake --preset windows` into
# build/windows) and runs its tests with CTest under Wine. Installs what a fresh Debian machine
# lacks, makes the Wine prefix in the build folder (build/windows/wine) on first use, gives Wine
# a display of its own (Xvfb) for the tests that open windows, and ends that display and the
# prefix's wineserver when it is done.
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
cd "$repo"

# Sources of GoogleTest (libgtest-dev), the cross-compiler, Wine (64-bit only: no wine32), the
# fonts that Wine's windows need, the display, what drives the program and looks at its pictures
# and printout, and ccache.
bash scripts/install-missing.sh cmake make libgtest-dev locales ccache \
  g++-mingw-w64-x86-64-posix wine64 fonts-wine fonts-arphic-uming xvfb \
  xdotool xclip x11-utils imagemagick ghostscript poppler-utils
# Wine takes code page 936 from LANG=zh_CN.UTF-8 either way, but reads a Chinese argument on its
# command line right only when the glibc locale exists.
bash scripts/make-locale.sh zh_CN

build="$repo/build/windows"
export SR_WINE_PREFIX="$build/wine"
jobs="$(nproc)"

display_pid=""
cleanup() {
  # Only what this script started: the display, and the wineserver of the build's own prefix
  # (the build runs the data generator under Wine too).
  if [ -n "$display_pid" ]; then
    kill "$display_pid" 2>/dev/null || true
    wait "$display_pid" 2>/dev/null || true
  fi
  WINEPREFIX="$SR_WINE_PREFIX" /usr/lib/wine/wineserver -k 2>/dev/null || true
}
trap cleanup EXIT

# The Linux regdb reads back the register that the Windows program saves. It comes from the
# Linux test command's release folder, with its options, so that after that command nothing is
# built again.
bash scripts/deps.sh
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DSR_SANITIZE=OFF -DSR_BENCH=OFF >/dev/null
cmake --build build/release -j"$jobs" --target regdb
export SR_LINUX_REGDB="$repo/build/release/tools/regdb/regdb"

# ccache serves the cross-compiler as well (taken when the build folder is first made), with
# paths relative to the tree, so that another clone of it finds the same objects.
if command -v ccache >/dev/null; then
  export CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache
  export CCACHE_BASEDIR="$repo" CCACHE_NOHASHDIR=true
fi
cmake --preset windows
cmake --build --preset windows -j"$jobs"

# A display of our own, on the first free number (Xvfb picks it and writes it to fd 3).
display_file="$(mktemp)"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$display_file" >/dev/null 2>&1 &
display_pid=$!
for _ in $(seq 100); do [ -s "$display_file" ] && break; sleep 0.1; done
if [ ! -s "$display_file" ]; then
  echo "Xvfb did not start" >&2
  exit 1
fi
export DISPLAY=":$(head -n1 "$display_file")"
rm -f "$display_file"

# The first start makes the prefix (15 to 25 s): before CTest, whose test listing waits less.
echo "== Wine prefix $SR_WINE_PREFIX"
bash scripts/wine-run.sh cmd /c exit

# Now and then Wine ends a test program at its start, before it prints a line (one test in a
# few hundred, a different one each time, 0.03 s). A test that fails is run once more, and only
# here: the Linux test command never repeats one. CTest lists the repeated tests' first output.
echo "== tests under Wine"
ctest --test-dir "$build" --output-on-failure -j"$jobs" --timeout 600 --repeat until-pass:2
