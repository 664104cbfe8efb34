#!/usr/bin/env bash
# The benchmark (not a test): what one run of the program costs, next to a reference measured on the
# same machine in the same run. Prints one table; a row it cannot measure here is left out.
#   native: instructions (callgrind) and system calls (strace -c) next to /bin/true, the heap
#           allocations of the whole run (valgrind), and peak memory;
#   Windows: the exe's size and imports, and a run under Wine next to a minimal console exe.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/packages.sh
orvo_install "benchmark" $ORVO_BUILD_PACKAGES $ORVO_TEST_PACKAGES $ORVO_BENCH_PACKAGES >&2 || exit 1
windows=yes
orvo_install "Windows build" $ORVO_WINDOWS_PACKAGES >&2 || windows=no

{
  cmake --preset native && cmake --build --preset native --target orvo-shortcuts orvo-shortcuts-dynamic
  if [ "$windows" = yes ]; then
    cmake --preset win32 && cmake --build --preset win32 --target orvo-shortcuts || windows=no
  fi
} >/dev/null

work=$PWD/build/bench
rm -rf "$work/prefix" "$work/home"
mkdir -p "$work/home" "$work/prefix/drive_c/windows/desktop" "$work/prefix/drive_c/Orvo"
product=$work/prefix/drive_c/Orvo
program=$PWD/build/native/orvo-shortcuts
dynamic=$PWD/build/native/orvo-shortcuts-dynamic
# Both programs of a comparison run in the same folder with the same small environment.
clean_env=(env -i PATH=/usr/bin:/bin HOME="$work/home" WINEPREFIX="$work/prefix")

rows=()
row() { rows+=("| $1 | $2 | $3 | $4 |"); }
number() { echo "$1" | sed -e ':a' -e 's/\B[0-9]\{3\}\>/,&/' -e 'ta'; }

instructions() { # instructions of one run of a command, counted by callgrind
  (cd "$product" && "${clean_env[@]}" valgrind --tool=callgrind --callgrind-out-file=/dev/null "$@" 2>&1 >/dev/null) |
    sed -n 's/.*Collected : \([0-9]*\).*/\1/p'
}
syscalls() { # system calls of one run, counted by strace -c
  (cd "$product" && "${clean_env[@]}" strace -f -c -o "$work/strace.txt" "$@" >/dev/null 2>&1)
  awk '$NF == "total" { print $(NF-2) ~ /^[0-9]+$/ ? $(NF-2) : $(NF-1) }' "$work/strace.txt" | tail -n 1
}
peak_kib() { # maximum resident set size of one run, in KiB
  (cd "$product" && "${clean_env[@]}" /usr/bin/time -f '%M' -o "$work/time.txt" "$@" >/dev/null 2>&1)
  tail -n 1 "$work/time.txt"
}

if command -v valgrind >/dev/null; then
  mine=$(instructions "$program")
  true_ir=$(instructions /bin/true)
  if [ -n "$mine" ] && [ -n "$true_ir" ]; then
    ratio=$(awk -v a="$mine" -v b="$true_ir" 'BEGIN { printf "%.2f", a / b }')
    verdict=$(awk -v r="$ratio" 'BEGIN { print (r <= 1.25 ? "met" : "MISSED") }')
    row "native run: instructions (callgrind)" "$(number "$mine")" "/bin/true: $(number "$true_ir")" \
      "${ratio}x; target at most 1.25x: $verdict"
  fi

  # The delivered program is linked statically, where valgrind cannot see the allocator: its twin,
  # the same code linked dynamically, shows the allocations and who made them.
  (cd "$product" && "${clean_env[@]}" valgrind --xtree-memory=full --xtree-memory-file="$work/heap.kcg" \
    "$dynamic" 2>"$work/heap.txt" >/dev/null)
  usage=$(sed -n 's/.*total heap usage: \([0-9,]*\) allocs, [0-9,]* frees, \([0-9,]*\) bytes allocated.*/\1 blocks, \2 bytes/p' "$work/heap.txt")
  sites=$(awk -f bench/alloc_sites.awk "$work/heap.kcg" | sort -k2)
  own_pattern='^(main|CombinePath|CreateShortCut|CreateWebShortCut|ForwardSlashes|Trace)\(|WaitForKey|FitsInPathBuffer'
  own=$(printf '%s\n' "$sites" | awk -F '\t' -v p="$own_pattern" '$2 ~ p { n += $1 } END { print n + 0 }')
  made_by=$(printf '%s\n' "$sites" | awk -F '\t' 'NF == 2 { sub(/\(.*/, "", $2); printf "%s%s %d", sep, $2, $1; sep = ", " }')
  verdict=$([ "$own" -eq 0 ] && echo met || echo MISSED)
  row "native run: heap allocations, whole run (valgrind)" "${usage:-none}" "made by: ${made_by:-nobody}" \
    "by the program's own code: $own; target 0: $verdict"
fi
if command -v strace >/dev/null; then
  row "native run: system calls (strace -c)" "$(syscalls "$program")" "/bin/true: $(syscalls /bin/true)" ""
fi
if [ -x /usr/bin/time ]; then
  row "native run: peak memory (max RSS)" "$(number "$(peak_kib "$program")") KiB" \
    "/bin/true: $(number "$(peak_kib /bin/true)") KiB" ""
fi

if [ "$windows" = yes ]; then
  exe=$PWD/build/win32/orvo-shortcuts.exe
  size=$(stat -c %s "$exe")
  row "Windows exe: size" "$(number "$size") bytes" "" \
    "target under 65,536: $([ "$size" -lt 65536 ] && echo met || echo MISSED)"
  imports=$(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr '\n' ' ')
  row "Windows exe: imported DLLs" "$imports" "" ""

  if command -v wine >/dev/null; then
    i686-w64-mingw32-gcc -O2 -s -o "$work/minimal.exe" bench/minimal_console.c
    export WINEPREFIX=$work/prefix HOME=$work/home WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
    wineserver -p </dev/null >/dev/null 2>&1
    wineboot -i </dev/null >/dev/null 2>&1
    mkdir -p "$work/prefix/drive_c/windows/desktop"
    runs=20
    mean_ms() { # mean wall time of one run under the warm wineserver, in milliseconds
      (cd "$product" && wine "$1" >/dev/null 2>&1) # warm-up
      local start end
      start=$(date +%s%N)
      for _ in $(seq "$runs"); do (cd "$product" && wine "$1" >/dev/null 2>&1 </dev/null); done
      end=$(date +%s%N)
      echo $(((end - start) / runs / 1000000))
    }
    mine=$(mean_ms "$exe")
    minimal=$(mean_ms "$work/minimal.exe")
    row "Windows run under Wine (warm wineserver, mean of $runs)" "$mine ms" "minimal console exe: $minimal ms" \
      "$(awk -v a="$mine" -v b="$minimal" 'BEGIN { printf "%.2fx", a / (b > 0 ? b : 1) }')"
    wineserver -k 2>/dev/null || true
  fi
fi

echo "| measure | orvo-shortcuts | reference, same machine and run | result |"
echo "|---|---|---|---|"
printf '%s\n' "${rows[@]}"
