#!/usr/bin/env bash
# Builds the benchmarks (x86_64 test build) and runs them under Wine, printing their figures.
# Usage: BUILD_DIR=... scripts/bench.sh [arguments for RemovalBench]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build}

"$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build/x64" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build/x64" -j 2 --target RemovalBench

prefix=$build/x64/wineprefix
trap 'WINEPREFIX=$prefix /usr/lib/wine/wineserver -k 2>/dev/null || true' EXIT
"$root/scripts/wine-run" --prefix "$prefix" "$build/x64/bench/RemovalBench.exe" "$@"
