#!/usr/bin/env bash
# The demo: installs what is missing, builds the uninstaller, installs three Korvane
# applications in a fresh Wine prefix (files, a shared file, shortcuts on the desktop and in
# the start menu, the catalogue) and starts the uninstaller of one of them. With a display
# ($DISPLAY) it opens there for you to use; without one it runs on a virtual display. Either
# way a picture of the dialog is saved.
# Usage: scripts/demo.sh [English|Deutsch]   (BUILD_DIR as for the tests; default build/)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
language=${1:-English}
source "$root/scripts/demo-lib.sh"

case $language in
  D*) caption="Korvane Entfernen" ;;
  *) caption="Korvane Uninstall" ;;
esac
picture=$build/demo/uninstall.png

if [ "${2:-}" != --on-display ]; then
  "$root/scripts/install-deps.sh"
  demo_build
  if [ -z "${DISPLAY:-}" ]; then
    echo "No display: running the demo on a virtual one."
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$language" --on-display
  fi
fi

trap demo_stop EXIT
demo_fresh_prefix
uninstaller=$(demo_install_catalogue "$language")
echo "Installed Korvane Writer, Sheets and Draw in C:\\Program Files\\Korvane (prefix $WINEPREFIX)."
echo "Starting $uninstaller"
demo_start_uninstaller "$uninstaller"
demo_capture "$caption" "$picture"
echo "Saved a picture of the dialog: $picture"

if [ "${2:-}" = --on-display ]; then
  echo "(Virtual display: the demo ends here.)"
else
  echo "Select applications and press Remove; close the dialog to end the demo."
  wait "$demo_pid" || true
  # The copy that deletes the uninstaller's own file ends a moment after the uninstaller.
  for _ in $(seq 20); do
    ls "$WINEPREFIX"/drive_c/users/*/Temp/Del*/* >/dev/null 2>&1 || break
    sleep 0.1
  done
  echo "What is left of the applications' folders:"
  (cd "$WINEPREFIX/drive_c/Program Files" 2>/dev/null && find Korvane 2>/dev/null | sed 's/^/  /') ||
    echo "  nothing"
  echo "What the catalogue holds now:"
  "$demo_wine" reg query 'HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Korvane Version 7.0' /s \
    2>/dev/null | tr -d '\r' | grep -E 'AppName|UninstallString' || echo "  nothing: the product key is gone"
fi
