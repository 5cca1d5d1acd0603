#!/usr/bin/env bash
# Makes the README's pictures of the uninstaller's dialog, English and German, each with the
# demo catalogue and one row selected: docs/uninstall-english.png, docs/uninstall-german.png.
# Runs on a display of its own (Xvfb), so the pictures do not depend on the user's screen.
# Usage: scripts/screenshots.sh   (BUILD_DIR as for the tests; default build/)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
source "$root/scripts/demo-lib.sh"

if [ "${1:-}" != --on-display ]; then
  "$root/scripts/install-deps.sh"
  demo_build
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" --on-display
fi

trap demo_stop EXIT
shoot() {
  local language=$1 caption=$2 output=$3
  demo_fresh_prefix
  demo_start_uninstaller "$(demo_install_catalogue "$language")"
  demo_capture "$caption" "$output" 1
  demo_stop
  echo "Saved $output"
}
shoot English "Korvane Uninstall" "$root/docs/uninstall-english.png"
shoot Deutsch "Korvane Entfernen" "$root/docs/uninstall-german.png"
