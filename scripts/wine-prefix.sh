#!/usr/bin/env bash
# Creates a quiet throw-away Wine prefix once: no debug output, no Mono/Gecko prompts,
# a virtual desktop (window frames and prompt closes under bare Xvfb), Wine's caption font.
# Usage: wine-prefix.sh PREFIX   (safe to call from parallel tests: creation is serialised)
# $KORVANE_WINE, when set, names another wine command (the 32-bit one, with WINEARCH=win32).
set -euo pipefail
prefix=$1
mkdir -p "$(dirname "$prefix")"
# Without the menu builder, as in wine-run.
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" \
       LANG=C.UTF-8 LC_ALL=C.UTF-8
wine=${KORVANE_WINE:-/usr/lib/wine/wine64}
exec 9>"$prefix.lock"
flock 9
if [ ! -f "$prefix/.ready" ]; then
  # Wine's daemons must not inherit the lock descriptor, or they hold the lock for good.
  $wine wineboot -i >/dev/null 2>&1 9>&- || true
  $wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1 9>&-
  $wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1 9>&-
  mkdir -p "$prefix/drive_c/windows/Fonts"
  cp /usr/share/wine/fonts/marlett.ttf "$prefix/drive_c/windows/Fonts/" 2>/dev/null || true
  /usr/lib/wine/wineserver -w 9>&-
  touch "$prefix/.ready"
fi
