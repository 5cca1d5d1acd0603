# Shared by demo.sh and screenshots.sh (sourced, not run): builds the x86_64 programs, makes a
# fresh Wine prefix, installs the demo catalogue in it, starts the uninstaller and takes a
# picture of its dialog. Expects $root (the source tree) and $build (the build directory).

demo_wine=/usr/lib/wine/wine64

# The uninstaller and the two helper programs, from the same x86_64 build the tests use.
demo_build() {
  cmake -S "$root" -B "$build/x64" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$build/x64" -j "$(nproc)" --target Uninstall make_demo_catalogue dialog_probe
}

# A new prefix every time, so that each run starts from a freshly installed catalogue.
demo_fresh_prefix() {
  # Without the menu builder, which would copy the demo's shortcuts into this machine's menus.
  export WINEPREFIX=$build/demo/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" \
         LANG=C.UTF-8 LC_ALL=C.UTF-8
  demo_stop
  rm -rf "$WINEPREFIX" "$WINEPREFIX.lock"
  "$root/scripts/wine-prefix.sh" "$WINEPREFIX"
}

demo_stop() {
  /usr/lib/wine/wineserver -k 2>/dev/null || true
}

# A path of this machine as the Windows programs see it (drive Z: is the root).
demo_windows_path() {
  local path=$1
  echo "Z:${path//\//\\}"
}

# Installs three applications with the given "Language" and prints the uninstaller to start.
demo_install_catalogue() {
  "$demo_wine" "$build/x64/tools/make_demo_catalogue.exe" \
    "$(demo_windows_path "$build/x64/Uninstall.exe")" "$1" | tr -d '\r'
}

# Starts the uninstaller in the background, in its own folder as the shell would; its
# process id (a Wine process is a process of this machine) goes to demo_pid.
demo_start_uninstaller() {
  local folder
  folder=$("$demo_wine" winepath -u "${1%\\*}" 2>/dev/null | tr -d '\r')
  (cd "$folder" && exec "$demo_wine" "$1" >/dev/null 2>&1) &
  demo_pid=$!
}

# Waits for the dialog with the given caption, selects the given rows, and saves a picture of
# it: cut from Wine's desktop window, where the dialog's screen coordinates are measured.
demo_capture() {
  local caption=$1 output=$2; shift 2
  local frame x y width height
  frame=$("$demo_wine" "$build/x64/tools/dialog_probe.exe" "$caption" "$@" | tr -d '\r')
  read -r x y width height <<<"$frame"
  [ -n "${height:-}" ] || { echo "no dialog \"$caption\" to take a picture of" >&2; return 1; }
  mkdir -p "$(dirname "$output")"
  import -silent -window "Default - Wine desktop" -crop "${width}x${height}+${x}+${y}" +repage "$output"
}
