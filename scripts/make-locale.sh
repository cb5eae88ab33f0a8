#!/usr/bin/env bash
# Makes the glibc locale NAME.UTF-8 when it is missing (as root, or through sudo); says so when it
# cannot, and goes on.   make-locale.sh de_DE
set -euo pipefail
if ! locale -a 2>/dev/null | grep -qi "^$1\\.utf-\\?8\$"; then
  sudo_cmd=""
  [ "$(id -u)" -eq 0 ] || sudo_cmd="sudo"
  $sudo_cmd localedef -i "$1" -f UTF-8 "$1.UTF-8" || echo "note: could not generate $1.UTF-8"
fi
