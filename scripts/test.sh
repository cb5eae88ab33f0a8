#!/usr/bin/env bash
# Sets up what is missing, builds everything with AddressSanitizer and UndefinedBehaviorSanitizer
# and runs every test with CTest; then builds and runs them once more as a Release build, which
# catches what only optimisation shows (a race that the faster build loses, code the optimiser
# may drop). Both runs go to the end; the command fails when either failed.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
jobs="$(nproc)"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen
# ccache keeps the compiled objects outside the clone (in the user's cache folder), with paths
# relative to the tree, so that a fresh clone anywhere compiles only what changed.
if command -v ccache >/dev/null; then
  export CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache
  export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=true
fi

# build_and_test DIR CMAKE-OPTIONS...   (called under ||, where set -e does not act: hence &&)
build_and_test() {
  local build="$1"
  shift
  echo "== $build"
  cmake -S . -B "$build" "$@" &&
    cmake --build "$build" -j"$jobs" &&
    (cd "$build" && ctest --output-on-failure -j"$jobs" --timeout 600)
}

status=0
build_and_test build/asan -DCMAKE_BUILD_TYPE=Debug -DSR_SANITIZE=ON || status=1
# The same folder and options as the run command's build, so that each reuses the other's.
build_and_test build/release -DCMAKE_BUILD_TYPE=Release -DSR_SANITIZE=OFF -DSR_BENCH=OFF || status=1
exit "$status"
