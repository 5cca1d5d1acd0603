#!/usr/bin/env bash
# Installs what is missing, builds the 32-bit release, the x86_64 test build and the 32-bit
# test build, and runs every test under Wine in fresh throw-away prefixes (under Xvfb, for
# the windows): all tests on the x86_64 build (names x64/...), and the end-to-end and
# self-deletion tests once more against the release itself under wine32 (names i686/...).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}
jobs=$(nproc)

"$root/scripts/install-deps.sh"

# Configures a build tree; a tree made with another toolchain file is started afresh.
configure() {
  local dir=$1 toolchain=$2; shift 2
  if [ -f "$dir/CMakeCache.txt" ] && ! grep -qx "CMAKE_TOOLCHAIN_FILE:FILEPATH=$toolchain" "$dir/CMakeCache.txt"; then
    rm -rf "$dir/CMakeCache.txt" "$dir/CMakeFiles"
  fi
  cmake -S "$root" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$toolchain" "$@" >/dev/null
}

# The release: what users get.
configure "$build/i686" "$root/cmake/mingw-i686-release.cmake" -DCMAKE_BUILD_TYPE=MinSizeRel -DUNINSTALL_TESTS=OFF
cmake --build "$build/i686" -j "$jobs"
release=$build/i686/Uninstall.exe
"$root/scripts/check-release.sh" "$release"

configure "$build/x64" "$root/cmake/mingw-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release \
          -DUNINSTALL_RELEASE_EXE="$release"
cmake --build "$build/x64" -j "$jobs"

# The 32-bit tests: wine32 under qemu-i386, a test driver and helpers built for i686, and the
# release as the program under test.
start32=$SECONDS
"$root/scripts/rel32/setup.sh" "$build/rel32"
configure "$build/i686-tests" "$root/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release \
          -DUNINSTALL_TEST_AREAS="e2e;selfremove" -DUNINSTALL_TESTED_EXE="$release" \
          -DUNINSTALL_WINE32_DIR="$build/rel32"
cmake --build "$build/i686-tests" -j "$jobs"
echo "32-bit set-up and build: $((SECONDS - start32)) s"

# Fresh prefixes for every run; no wine session may outlive them.
prefix64=$build/x64/wineprefix
prefix32=$build/i686-tests/wineprefix
stop_wine() {
  WINEPREFIX=$prefix64 /usr/lib/wine/wineserver -k 2>/dev/null || true
  WINEPREFIX=$prefix32 /usr/lib/wine/wineserver -k 2>/dev/null || true
}
stop_wine
rm -rf "$prefix64" "$prefix64.lock" "$prefix32" "$prefix32.lock"
trap stop_wine EXIT
"$root/scripts/wine-prefix.sh" "$prefix64"
start32=$SECONDS
# Creating the 32-bit prefix runs the whole Wine start-up under emulation: a minute or so.
"$root/scripts/rel32/wine32-run" --kit "$build/rel32" --prefix "$prefix32" cmd /c exit 0
echo "32-bit prefix: $((SECONDS - start32)) s"

# Each prefix's Wine server stays up for the whole run instead of shutting down whenever no
# test program happens to run: a program that starts while its server is going away can be
# ended before it does anything. A server still running cannot be made to stay, so the one
# that created the prefix is let go first. The trap above ends both servers.
# The 32-bit prefix's server opens the i386 Wine files for its programs, so it starts where
# the kit shows them.
keep_server() {
  local prefix=$1; shift
  WINEPREFIX=$prefix /usr/lib/wine/wineserver -w
  WINEPREFIX=$prefix "$@" /usr/lib/wine/wineserver -p </dev/null >/dev/null 2>&1 ||
    echo "test.sh: the Wine server of $prefix could not be kept up" >&2
}
keep_server "$prefix64"
keep_server "$prefix32" "$build/rel32/ns.sh"

# Both test trees in one run, with one summary.
cat >"$build/CTestTestfile.cmake" <<TESTS
# Written by scripts/test.sh: the x86_64 tests, then the 32-bit ones.
subdirs("$build/x64" "$build/i686-tests")
TESTS

# One test at a time: the tests share one prefix, one drive and one desktop, and a program
# that a test starts (a self-deleter above all) may outlive it. A failing test is not run
# again: a failure that comes and goes is a fault to find.
ctest_command=(ctest --test-dir "$build" --output-on-failure -j 1 "$@")
if [ -n "${DISPLAY:-}" ] && [ -z "${CI:-}" ]; then
  "${ctest_command[@]}"
else
  # One display for the whole run: Wine's desktop stays bound to the display it started on.
  xvfb-run -a -s "-screen 0 1280x1024x24" "${ctest_command[@]}"
fi
