#!/usr/bin/env bash
# Builds the delivered configuration, runs it from a sample product folder against a sample Wine
# prefix under build/demo, and shows the two shortcuts it made: lnkinfo's reading of the link and the
# bytes of the .url. Where Wine and the cross compiler can be had, the Windows build runs the same way
# under Wine, and both results are shown side by side.
set -euo pipefail
cd "$(dirname "$0")"
. scripts/packages.sh

orvo_install "demo" $ORVO_BUILD_PACKAGES $ORVO_TEST_PACKAGES || exit 1
windows=yes
orvo_install "Windows build" $ORVO_WINDOWS_PACKAGES || windows=no

echo "== building the delivered configuration"
cmake --preset native >/dev/null
cmake --build --preset native --target orvo-shortcuts >/dev/null
if [ "$windows" = yes ]; then
  cmake --preset win32 >/dev/null && cmake --build --preset win32 --target orvo-shortcuts >/dev/null || windows=no
fi

demo=$PWD/build/demo
export WINEPREFIX=$demo/prefix HOME=$demo/home WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
mkdir -p "$HOME"
if [ "$windows" = yes ] && [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "== making the sample prefix with wineboot (once)"
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1
fi
desktop=$WINEPREFIX/drive_c/windows/desktop
product="$WINEPREFIX/drive_c/Orvo Demo"
mkdir -p "$desktop" "$product"
printf '@echo off\r\necho Orvo Recorder\r\n' >"$product/recorder.bat"
printf '<!DOCTYPE html>\n<title>Orvo Player</title>\n<p>Orvo Player</p>\n' >"$product/QirPlayer.html"
# A 1x1 icon, enough for the shell to show something.
printf '\0\0\1\0\1\0\1\1\0\0\1\0\x20\0\x30\0\0\0\x16\0\0\0\x28\0\0\0\1\0\0\0\2\0\0\0\1\0\x20\0\0\0\0\0\4\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\x40\x80\xff\xff\0\0\0\0' \
  >"$product/vandrel.ico"

# run NAME COMMAND...: runs the program from the product folder and keeps what it made.
run() {
  local name=$1
  shift
  rm -f "$desktop"/*
  echo
  echo "== $name: run in C:\\Orvo Demo (Windows form of $product)"
  local status=0
  (cd "$product" && "$@") || status=$?
  echo
  echo "   exit status: $status"
  mkdir -p "$demo/$name"
  cp "$desktop/Orvo Recorder.pif" "$desktop/Orvo Player.url" "$demo/$name/"
  lnkinfo "$demo/$name/Orvo Recorder.pif" |
    grep -E 'Local path|Description|Icon location|Icon index' | sed -e 's/^[[:space:]]*//' -e 's/[[:space:]]*: /: /' >"$demo/$name/link.txt"
  od -A d -c "$demo/$name/Orvo Player.url" >"$demo/$name/url.txt"
}

run native "$PWD/build/native/orvo-shortcuts"
[ "$windows" = yes ] && run windows wine "$PWD/build/win32/orvo-shortcuts.exe"

echo
if [ "$windows" = yes ]; then
  echo "== the link, as lnkinfo reads it: native layer (left), Windows build under Wine (right)"
  pr -m -t -w 140 "$demo/native/link.txt" "$demo/windows/link.txt"
  echo
  echo "== the .url's bytes: native layer, then Windows build under Wine"
  cat "$demo/native/url.txt"
  echo "--"
  cat "$demo/windows/url.txt"
  cmp -s "$demo/native/Orvo Player.url" "$demo/windows/Orvo Player.url" && echo "(the two .url files are identical)"
  wineserver -k 2>/dev/null || true
else
  echo "== the link, as lnkinfo reads it"
  cat "$demo/native/link.txt"
  echo
  echo "== the .url's bytes"
  cat "$demo/native/url.txt"
  echo
  echo "(Wine or the cross compiler is missing: the Windows build was not run)"
fi
echo
echo "The shortcuts are in $desktop; copies of both runs' files are in $demo/native and $demo/windows."
