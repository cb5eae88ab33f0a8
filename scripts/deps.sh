#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing need; skips what is present.
# Packages named as arguments are installed too (scripts/screenshots.sh asks for imagemagick).
set -euo pipefail
packages=(
  build-essential cmake pkg-config ccache
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-translations-l10n libxlsxwriter-dev liborcus-dev
  xvfb xauth fonts-arphic-uming
  tigervnc-standalone-server tigervnc-tools openbox
  vncsnapshot x11-utils xdotool wmctrl iproute2 procps python3
  poppler-utils python3-openpyxl libsqlite3-dev locales
  "$@"
)
bash "$(dirname "$0")/install-missing.sh" "${packages[@]}"

# A decimal-comma locale, so the tests can show that numbers ignore the desktop's locale.
bash "$(dirname "$0")/make-locale.sh" de_DE
