#!/usr/bin/env bash
# Prepares a folder from which 32-bit Windows programs (the release and the 32-bit test
# programs) run under Debian's wine32 on this x86_64 host, whose kernel cannot execute i386
# code: wine32 runs under qemu-i386 in user mode, with the host's own 64-bit wineserver.
#
# Nothing i386 is installed system-wide and no binfmt entry is registered:
#   - the i386 Wine packages are only unpacked into DIR/sysroot (a private apt configuration
#     that reads the host's Debian sources for i386);
#   - they appear at their usual paths below /usr/lib only inside a private mount namespace
#     (an overlay mount, see DIR/ns.sh; needs root);
#   - Wine starts every new 32-bit process through /usr/lib/wine/wine-preloader, which the
#     overlay replaces by a script that calls qemu-i386-static with the shim
#     (shim/noreplace.c) preloaded into the guest.
#
# Usage: setup.sh DIR   (idempotent; about a minute the first time)
# The downloaded packages are kept in ${XDG_CACHE_HOME:-~/.cache}/korvane-rel32 when that
# folder can be written, so that a later clean build need not fetch them again; without it
# they go into DIR.
# Afterwards DIR/wine32 PROGRAM [ARGS...] runs a 32-bit program (WINEPREFIX as usual).
set -euo pipefail
R=$(mkdir -p "${1:?usage: setup.sh DIR}" && cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
# The overlay mount's option string cannot hold these.
case $R in *[,:\ ]*) echo "setup.sh: the folder $R must not contain a comma, colon or blank" >&2; exit 2 ;; esac

for tool in qemu-i386-static gcc unshare dpkg-deb; do
  command -v "$tool" >/dev/null || { echo "setup.sh: $tool is missing (scripts/install-deps.sh installs it)" >&2; exit 2; }
done
[ -x /usr/lib/wine/wineserver ] || { echo "setup.sh: the host's wine64 is missing" >&2; exit 2; }

# --- the i386 Wine packages, fetched with a private apt configuration --------------------
if [ ! -e "$R/sysroot/usr/lib/wine/wine" ]; then
  cache=
  if [ -n "${XDG_CACHE_HOME:-}" ]; then cache=$XDG_CACHE_HOME/korvane-rel32
  elif [ -n "${HOME:-}" ]; then cache=$HOME/.cache/korvane-rel32; fi
  [ -n "$cache" ] && mkdir -p "$cache" 2>/dev/null && [ -w "$cache" ] || cache=$R/cache
  A=$cache/apt
  # Two runs that share the cache take turns.
  mkdir -p "$A"; exec 8>"$A/.lock"; flock 8
  mkdir -p "$A/etc/apt.conf.d" "$A/etc/preferences.d" "$A/etc/sources.list.d" "$A/state/lists/partial" \
           "$A/cache/archives/partial" "$A/log"
  [ -e "$A/state/status" ] || : >"$A/state/status"
  cp /etc/apt/sources.list.d/*.sources "$A/etc/sources.list.d/" 2>/dev/null || true
  if [ -e /etc/apt/sources.list ]; then cp /etc/apt/sources.list "$A/etc/sources.list"; else : >"$A/etc/sources.list"; fi
  cat >"$A/apt.conf" <<EOF
Dir::Etc "$A/etc";
Dir::Etc::SourceList "$A/etc/sources.list";
Dir::Etc::SourceParts "$A/etc/sources.list.d";
Dir::Etc::Parts "$A/etc/apt.conf.d";
Dir::Etc::PreferencesParts "$A/etc/preferences.d";
Dir::State "$A/state";
Dir::State::status "$A/state/status";
Dir::Cache "$A/cache";
Dir::Log "$A/log";
APT::Architecture "i386";
APT::Architectures { "i386"; };
APT::Install-Recommends "false";
APT::Sandbox::User "root";
EOF
  # wine32 talks to the host's wineserver: their versions must be the same.
  wine32="wine32=$(dpkg-query -W -f='${Version}' wine64)"
  fetch() { APT_CONFIG=$A/apt.conf apt-get install -y -qq --download-only "$wine32" libgl1 fonts-dejavu-core; }
  # Package lists kept from an earlier run are tried first; a failure means they are stale.
  if ! { ls "$A/state/lists/"*Packages* >/dev/null 2>&1 && fetch >/dev/null 2>&1; }; then
    APT_CONFIG=$A/apt.conf apt-get update -qq
    fetch
  fi
  # Versions that the lists no longer offer go first: a kept cache may hold older ones.
  APT_CONFIG=$A/apt.conf apt-get autoclean -qq
  rm -rf "$R/sysroot.new"; mkdir -p "$R/sysroot.new"
  for deb in "$A/cache/archives/"*.deb; do dpkg-deb -x "$deb" "$R/sysroot.new"; done
  rm -rf "$R/sysroot"; mv "$R/sysroot.new" "$R/sysroot"
  exec 8>&-
fi

# --- the overlay layer: only what must appear below /usr/lib ----------------------------
if [ ! -e "$R/layer/wine/wine-preloader" ]; then
  rm -rf "$R/layer"; mkdir -p "$R/layer/i386-linux-gnu" "$R/layer/wine"
  cp -al "$R/sysroot/lib/i386-linux-gnu/." "$R/layer/i386-linux-gnu/"
  cp -al "$R/sysroot/usr/lib/i386-linux-gnu/." "$R/layer/i386-linux-gnu/"
  ln -s i386-linux-gnu/ld-linux.so.2 "$R/layer/ld-linux.so.2"
  cp -al "$R/sysroot/usr/lib/wine/wine" "$R/sysroot/usr/lib/wine/wineserver32" "$R/layer/wine/"
  # Debian's wine32 8.0 lacks zlib1.dll beside its builtin DLLs, and user32 imports it.
  cp "$R/sysroot/usr/i686-w64-mingw32/lib/zlib1.dll" "$R/layer/i386-linux-gnu/wine/i386-windows/zlib1.dll"
  cat >"$R/layer/wine/wine-preloader.new" <<EOF
#!/bin/sh
# Wine's 32-bit ntdll execs "wine-preloader <loader> ARGS..." for every new process: run the
# loader under qemu-i386, with the shim preloaded into it.
exec /usr/bin/qemu-i386-static -E 'LD_PRELOAD=$R/shim/\$LIB/noreplace.so' "\$@"
EOF
  chmod +x "$R/layer/wine/wine-preloader.new"
  mv "$R/layer/wine/wine-preloader.new" "$R/layer/wine/wine-preloader"
fi

# --- the shim for the i386 guest, and an empty twin so that 64-bit host programs that
# inherit LD_PRELOAD find a library too ----------------------------------------------------
mkdir -p "$R/shim/lib/i386-linux-gnu" "$R/shim/lib/x86_64-linux-gnu"
shim=$R/shim/lib/i386-linux-gnu/noreplace.so
if [ ! -e "$shim" ] || [ "$here/shim/noreplace.c" -nt "$shim" ]; then
  gcc -m32 -O2 -shared -fPIC -o "$shim.new" "$here/shim/noreplace.c"
  echo 'void korvane_rel32_empty(void) {}' >"$R/shim/empty.c"
  gcc -O2 -shared -fPIC -o "$R/shim/lib/x86_64-linux-gnu/noreplace.so" "$R/shim/empty.c"
  mv "$shim.new" "$shim"
fi

# --- the commands -----------------------------------------------------------------------
cat >"$R/ns.sh" <<EOF
#!/bin/sh
# Runs a command in a private mount namespace in which /usr/lib also shows the i386 Wine
# files of $R/layer.
exec unshare -m --propagation private sh -c 'mount -t overlay korvane-rel32 -o lowerdir=$R/layer:/usr/lib /usr/lib && exec "\$@"' ns "\$@"
EOF
cat >"$R/wine32" <<EOF
#!/bin/sh
# Runs a 32-bit Windows program under wine32: WINEPREFIX=... $R/wine32 PROGRAM [ARGS...]
export WINEARCH=win32
# Debian's wine32 8.0 leaves zlib1.dll out of a prefix, and user32 needs it from the start,
# when the prefix is created too.
system32="\${WINEPREFIX:?}/drive_c/windows/system32"
[ -e "\$system32/zlib1.dll" ] || { mkdir -p "\$system32" && cp "$R/layer/i386-linux-gnu/wine/i386-windows/zlib1.dll" "\$system32/"; } || exit 2
exec "$R/ns.sh" /usr/lib/wine/wine-preloader /usr/lib/wine/wine "\$@"
EOF
chmod +x "$R/ns.sh" "$R/wine32"
