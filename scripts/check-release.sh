#!/usr/bin/env bash
# Proves that the 32-bit release is the right kind of file: a stripped PE32 program for i386
# with the GUI subsystem that imports nothing but system DLLs; and reports its size.
set -euo pipefail
exe=$1
dump=$(i686-w64-mingw32-objdump -p "$exe")
fail() { echo "FAIL: $*" >&2; head -40 <<<"$dump" >&2; exit 1; }
grep -q 'file format pei-i386' <<<"$dump" || fail "not a PE32 i386 file"
grep -Eq '^Magic[[:space:]]+010b' <<<"$dump" || fail "optional header is not PE32"
grep -Eq '^Subsystem[[:space:]]+0+2[[:space:]]' <<<"$dump" || fail "subsystem is not Windows GUI (2)"
grep -q 'symbols stripped' <<<"$dump" || fail "not stripped: it carries a symbol table"
if i686-w64-mingw32-objdump -h "$exe" | grep -q ' \.debug'; then fail "not stripped: it carries debug sections"; fi
dlls=$(grep 'DLL Name:' <<<"$dump" | awk '{print tolower($3)}' | sort -u)
allowed='^(kernel32|user32|gdi32|advapi32|shell32|ole32|oleaut32|comctl32|msvcrt)\.dll$'
while read -r dll; do
  [[ $dll =~ $allowed ]] || fail "imports a DLL that is not the system's own: $dll"
done <<<"$dlls"
size=$(stat -c %s "$exe")
echo "PE32 i386 GUI program, stripped, $size bytes ($(( (size + 1023) / 1024 )) KB); imports:" $dlls
