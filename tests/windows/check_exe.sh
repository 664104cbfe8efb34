#!/usr/bin/env bash
# Checks the built Windows exe with the cross binutils: a console program that imports only KERNEL32,
# msvcrt and ole32; an embedded manifest with asInvoker and supportedOS entries; a version resource
# with product name, description and version, none of whose strings says setup, install or update;
# and a size under 64 KiB. Exits 77 (skipped) when the exe or the tools are missing, 1 then in CI.
set -uo pipefail
exe=$1
objdump=i686-w64-mingw32-objdump
windres=i686-w64-mingw32-windres

if [ ! -f "$exe" ] || ! command -v $objdump >/dev/null || ! command -v $windres >/dev/null; then
  echo "SKIPPED: $exe or the mingw-w64 binutils are missing"
  [ "${CI:-}" = true ] && exit 1
  exit 77
fi

failures=0
check() { # check DESCRIPTION CONDITION...
  local what=$1
  shift
  if "$@"; then
    echo "ok: $what"
  else
    echo "FAILED: $what"
    failures=$((failures + 1))
  fi
}

headers=$($objdump -p "$exe")
imports=$(printf '%s\n' "$headers" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort | tr '\n' ' ')
resources=$($windres -i "$exe" -O rc)
versions=$(printf '%s\n' "$resources" | sed -n 's/^\s*VALUE "\([A-Za-z]*\)", "\(.*\)"$/\1=\2/p')
size=$(stat -c %s "$exe")

echo "imports: $imports"
echo "size: $size bytes"
check "imports only KERNEL32.dll, msvcrt.dll and ole32.dll" test "$imports" = "kernel32.dll msvcrt.dll ole32.dll "
check "a console program" grep -q 'Windows CUI' <<<"$headers"
check "a 32-bit exe" grep -q 'file format pei-i386' <<<"$headers"
check "a manifest asking for asInvoker" grep -q 'requestedExecutionLevel level=""asInvoker""' <<<"$resources"
check "supportedOS entries (Windows 10)" grep -q 'supportedOS Id=""{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}""' <<<"$resources"
for field in ProductName FileDescription FileVersion ProductVersion; do
  check "version resource has $field" grep -q "^$field=." <<<"$versions"
done
check "no version string says setup, install or update" \
  sh -c '! printf "%s\n" "$1" | grep -i -E "setup|install|update"' - "$versions"
check "smaller than 64 KiB" test "$size" -lt 65536
[ "$failures" -eq 0 ]
