#!/usr/bin/env bash
# Runs a Windows program under Wine, quietly and without prompts, in a prefix of our own, and
# returns its exit code. The CMake toolchain uses it to run what the Windows build makes (the data
# generator at build time, every test).
#
#   wine-run.sh PROGRAM.exe [ARGS...]
#   SR_WINE_PREFIX   the prefix (default: build/windows/wine of this tree); made on first use
#   DISPLAY          passed on: programs that open windows need one (scripts/test-windows.sh
#                    starts Xvfb); console programs run without
#
# The first run makes the prefix (15 to 25 s, about 700 MB). Later runs start in well under a
# second while a wineserver stays up (SR_WINE_PERSIST seconds after the last program ends).
set -euo pipefail
repo="$(cd "$(dirname "$0")/.." && pwd)"
export WINEPREFIX="${SR_WINE_PREFIX:-$repo/build/windows/wine}"
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono and no Gecko: Wine would otherwise offer to download them while it makes the prefix.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver

# Sets up a new prefix: the fonts Debian's Wine does not find by itself (without Marlett the
# caption buttons show letters), "宋体" drawn with a Ming face as SimSun is, and every program
# inside one virtual desktop, so that Wine draws captions and frames itself (Xvfb has no window
# manager). Registry keys with Chinese names go through a UTF-16 .reg file: a Chinese argument
# on Wine's command line is mangled unless the glibc locale zh_CN.UTF-8 exists.
make_prefix() {
  # Three harmless lines: no 32-bit Wine here. The server it starts ends with it (-w below).
  "$wine" wineboot -i </dev/null >/dev/null 2>&1 9>&-
  cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
  local reg="$WINEPREFIX/drive_c/salary-register-setup.reg"
  printf '%s\r\n' 'Windows Registry Editor Version 5.00' '' \
    '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
    '"SimSun"="AR PL UMing CN"' '"宋体"="AR PL UMing CN"' '' \
    '[HKEY_CURRENT_USER\Software\Wine\Explorer]' '"Desktop"="Default"' '' \
    '[HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops]' '"Default"="1024x768"' |
    iconv -f UTF-8 -t UTF-16 >"$reg"
  "$wine" regedit /S 'C:\salary-register-setup.reg' </dev/null >/dev/null 2>&1 9>&-
  "$wineserver" -w
  touch "$WINEPREFIX/.salary-register-ready"
}

mkdir -p "$(dirname "$WINEPREFIX")"
# CTest starts several programs at once: one of them makes the prefix, the others wait for it.
exec 9>"$WINEPREFIX.lock"
flock 9
if [ ! -f "$WINEPREFIX/.salary-register-ready" ]; then
  # Only a prefix that this script began to make is made again, never someone else's.
  if [ -e "$WINEPREFIX" ] && [ ! -f "$WINEPREFIX.making" ]; then
    echo "wine-run.sh: $WINEPREFIX is not a prefix of ours; set SR_WINE_PREFIX to a new folder" >&2
    exit 1
  fi
  touch "$WINEPREFIX.making"
  rm -rf "$WINEPREFIX"  # a setup that was interrupted
  make_prefix
  rm -f "$WINEPREFIX.making"
fi
# A wineserver that is already up answers 2 and keeps its own timeout. A new one, and the services
# that Wine starts with the first program, outlive this script: they must hold neither the lock
# nor the caller's output open (CTest would wait for them), so a first program starts them here.
if "$wineserver" -p"${SR_WINE_PERSIST:-30}" </dev/null >/dev/null 2>&1 9>&-; then
  "$wine" cmd /c exit </dev/null >/dev/null 2>&1 9>&-
fi
flock -u 9
exec 9>&-

# A Chinese locale makes code page 936 the ANSI code page, as on the users' machines.
lang="${SR_WINE_LANG:-zh_CN.UTF-8}"
exec env LANG="$lang" LC_ALL="$lang" "$wine" "$@"
