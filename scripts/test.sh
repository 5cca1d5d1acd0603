#!/usr/bin/env bash
# Installs what is missing, builds the 32-bit release and the x86_64 test build, and runs
# every test under Wine in a fresh throw-away prefix (under Xvfb, for the windows).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
jobs=$(nproc)

"$root/scripts/install-deps.sh"

cmake -S "$root" -B "$build/i686" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
      -DCMAKE_BUILD_TYPE=Release -DUNINSTALL_TESTS=OFF >/dev/null
cmake --build "$build/i686" -j "$jobs"

cmake -S "$root" -B "$build/x64" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=Release -DUNINSTALL_RELEASE_EXE="$build/i686/Uninstall.exe" >/dev/null
cmake --build "$build/x64" -j "$jobs"

# A fresh prefix for every run; no wine session may outlive it.
prefix=$build/x64/wineprefix
stop_wine() { WINEPREFIX=$prefix /usr/lib/wine/wineserver -k 2>/dev/null || true; }
stop_wine
rm -rf "$prefix" "$prefix.lock"
trap stop_wine EXIT
"$root/scripts/wine-prefix.sh" "$prefix"

# One test at a time: the tests share one prefix, one drive and one desktop, and a program
# that a test starts (a self-deleter above all) may outlive it. A failing test is not run
# again: a failure that comes and goes is a fault to find.
ctest_command=(ctest --test-dir "$build/x64" --output-on-failure -j 1 "$@")
if [ -n "${DISPLAY:-}" ] && [ -z "${CI:-}" ]; then
  "${ctest_command[@]}"
else
  # One display for the whole run: Wine's desktop stays bound to the display it started on.
  xvfb-run -a -s "-screen 0 1280x1024x24" "${ctest_command[@]}"
fi
