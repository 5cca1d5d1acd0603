#!/usr/bin/env bash
# Builds the benchmarks (x86_64 test build) and runs them under Wine, printing their figures.
# Usage: BUILD_DIR=... scripts/bench.sh [arguments for RemovalBench]
#        BUILD_DIR=... scripts/bench.sh --user-waits [arguments for UserWaitsBench]
# Without --user-waits, RemovalBench runs first and UserWaitsBench with its defaults after it.
# The user's waits open windows: they run on the display, or on a virtual one.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}

"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build/x64" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build/x64" -j 2 --target RemovalBench UserWaitsBench

prefix=$build/x64/wineprefix
stop_wine() { WINEPREFIX=$prefix /usr/lib/wine/wineserver -k 2>/dev/null || true; }
trap stop_wine EXIT

user_waits_arguments=()
if [ "${1:-}" = --user-waits ]; then
  shift
  user_waits_arguments=("$@")
else
  "$root/scripts/wine-run" --prefix "$prefix" "$build/x64/bench/RemovalBench.exe" "$@"
  echo
  # Wine's desktop stays bound to the display it started on: a new session for the windows.
  stop_wine
fi
user_waits=("$root/scripts/wine-run" --prefix "$prefix" "$build/x64/bench/e2e/UserWaitsBench.exe"
            ${user_waits_arguments[@]+"${user_waits_arguments[@]}"})
if [ -n "${DISPLAY:-}" ]; then
  "${user_waits[@]}"
else
  xvfb-run -a -s "-screen 0 1280x1024x24" "${user_waits[@]}"
fi
