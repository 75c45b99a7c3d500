#!/bin/bash
# Start-up benchmark: the real morvel.exe in window mode and in tray mode
# against a minimal Win32 program (one window, one tray icon), started in
# turn N times each (default 15) under one Wine session. Prints the median
# times to a visible window and to the first tray icon drawn, their ratios
# and the peak memory. It only prints; there is no threshold.
#
#   tools/bench.sh [N]
#   tools/bench.sh --trace [N]
#
# With --trace it times the program built with start-up timing marks (the
# trace preset) instead, and prints the median time of each mark from
# CreateProcess (tools/bench/trace-summary.py); Wine's output is kept in
# build/bench/trace.log.
#
# Uses $WINEPREFIX when set (tools/test.sh passes its own), else its own
# prefix build/wine/bench-prefix; the program sees two CD-ROM drives. An
# Xvfb is started when DISPLAY is unset. Builds the win64 programs it
# needs when they are missing.
# MORVEL_BENCH_EXE names another morvel.exe to time instead, with its
# language and icon files beside it. MORVEL_BENCH_EARLIER names an earlier
# build (set up the same way) to time in the same rounds, for a before and
# after from one run.
set -euo pipefail

trace=
if [ "${1:-}" = --trace ]; then
  trace=1
  shift
fi
rounds=${1:-15}
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
# shellcheck source=tools/wine-prefix.sh
source "$root/tools/wine-prefix.sh"
build=$root/build/win64
prefix=${WINEPREFIX:-$root/build/wine/bench-prefix}
export WINEPREFIX=$prefix

if [ ! -f "$build/tools/bench/bench_runner.exe" ] || [ ! -f "$build/morvel.exe" ]; then
  cmake --build --preset win64 -j2 --target morvel bench_minimal bench_runner >/dev/null
fi
morvel=${MORVEL_BENCH_EXE:-$build/morvel.exe}
minimal=$build/tools/bench/bench_minimal.exe
if [ -n "$trace" ]; then
  [ -f "$root/build/trace/CMakeCache.txt" ] || cmake --preset trace >/dev/null
  cmake --build --preset trace -j2 >/dev/null
  morvel=$root/build/trace/morvel.exe
  minimal=$root/build/trace/tools/bench/bench_minimal.exe
fi

wp_cleanup_on_exit "$prefix" strict

if [ ! -f "$prefix/system.reg" ]; then
  wp_create "$prefix" desktop
fi
discs=$root/build/bench/discs
mkdir -p "$discs/d" "$discs/e"
{
  wp_map_cdroms "$prefix" "d=$discs/d" "e=$discs/e"
  wp_reg_version winxp morvel.exe
  wp_reg_key 'HKEY_LOCAL_MACHINE\Software\Tandrel\Morvel'
  wp_reg_sz Sprog English
  wp_reg_sz Tray Nej
  wp_reg_sz Ikon Nej
  wp_reg_delete AnimationMs
  wp_reg_windows_values
} | wp_import "$prefix"
wp_start_xvfb

# The runner keeps the session (wineserver and desktop) up for every start.
run_bench() {
  "$WINE64" "$build/tools/bench/bench_runner.exe" "$rounds" \
    "$(wp_winpath "$morvel")" "$(wp_winpath "$minimal")" \
    ${MORVEL_BENCH_EARLIER:+"$(wp_winpath "$MORVEL_BENCH_EARLIER")"}
}
if [ -z "$trace" ]; then
  run_bench
else
  log=$root/build/bench/trace.log
  WINEDEBUG=${MORVEL_TRACE_CHANNELS:-+timestamp,+debugstr} run_bench 2>"$log"
  python3 "$root/tools/bench/trace-summary.py" "$log"
fi
