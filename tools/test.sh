#!/bin/bash
# Builds Morvel for Linux, 64-bit and 32-bit Windows and runs every test:
# the native tests, then the Windows unit tests, the Win32 tests and the end
# to end scenarios under Wine, one at a time. Sets up the machine first
# (tools/setup.sh, as root on Debian 12). Exits non-zero on any failure,
# a failed build included.
#
#   tools/test.sh
#
# The Wine prefix is private to this run (build/wine/prefix, made anew), and
# an Xvfb is started when DISPLAY is unset. Both are stopped at the end.
set -uo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root" || exit 1
# shellcheck source=tools/wine-prefix.sh
source "$root/tools/wine-prefix.sh"

JOBS=2
prefix=$root/build/wine/prefix
log_dir=$root/build/test-logs
rm -rf "$log_dir"
t_all=$(wp_now_ms)
failed=()
summary=()

note() { printf '\n=== %s\n' "$*"; }
record() { summary+=("$(printf '%-34s %8s  %s' "$1" "$2" "$3")"); }

# step NAME COMMAND...: runs, times and records one step.
step() {
  local name=$1 t rc=0
  shift
  note "$name"
  t=$(wp_now_ms)
  "$@" || rc=$?
  if [ "$rc" = 0 ]; then
    record "$name" "$(wp_since "$t")" ok
  else
    record "$name" "$(wp_since "$t")" "FAILED ($rc)"
    failed+=("$name")
  fi
  return "$rc"
}

# Whatever a test left behind in our prefix ends with its wineserver.
wp_cleanup_on_exit "$prefix"

# ctest's closing lines, with the summary kept for the totals at the end.
ctest_counts() {
  # "100% tests passed, 0 tests failed out of 12"
  sed -nE 's/^[0-9]+% tests passed, ([0-9]+) tests? failed out of ([0-9]+).*/\1 \2/p' "$1" | tail -1
}
passed_total=0
failed_total=0
run_ctest() {
  local preset=$1 log=$log_dir/ctest-$1.log rc=0 counts
  mkdir -p "$log_dir"
  ctest --preset "$preset" --timeout 600 2>&1 | tee "$log" || rc=$?
  counts=$(ctest_counts "$log")
  if [ -n "$counts" ]; then
    local nfailed ntotal
    read -r nfailed ntotal <<<"$counts"
    passed_total=$((passed_total + ntotal - nfailed))
    failed_total=$((failed_total + nfailed))
  elif [ "$rc" = 0 ]; then
    # ctest found no tests at all: that is no pass.
    echo "ctest --preset $preset ran no tests"
    rc=1
  fi
  return "$rc"
}

step "setup" "$root/tools/setup.sh" || exit 1

# Every C++ file of the program, its tests and the end-to-end harness keeps
# the layout of .clang-format; a file that drifts fails the run.
check_format() {
  git ls-files -z -- '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror
}
step "clang-format" check_format

built=()
for preset in native win64 win32; do
  if step "configure $preset" cmake --preset "$preset" \
     && step "build $preset" cmake --build --preset "$preset" -j "$JOBS"; then
    built+=("$preset")
  fi
done
is_built() { [[ " ${built[*]} " == *" $1 "* ]]; }

# The installers and portable archives (tools/package.sh): the installer
# scenario under Wine runs the 64-bit installer, the import check reads both.
if is_built win64 && is_built win32; then
  step "packages" "$root/tools/package.sh"
fi

# Both programs and both installers must load on their oldest systems (98
# SE and NT 4.0, XP x64): every DLL and function they import is checked
# against the lists in tools/imports.
step "import check" python3 "$root/tools/check-imports.py" build/win32/morvel.exe \
  build/win64/morvel.exe build/packages/morvel-*-x86-setup.exe build/packages/morvel-*-x64-setup.exe

if is_built native; then
  step "ctest native" run_ctest native
fi

# The parsers of outside input under libFuzzer, a few seconds each, from
# their seed corpora (tools/fuzz.sh; --long runs a million inputs each).
step "fuzz (short)" "$root/tools/fuzz.sh"

if is_built win64; then
  # One fresh prefix per run: nothing of an earlier run can leak in.
  if [ -d "$prefix" ]; then
    wp_stop_server "$prefix" 30 || true
    rm -rf "$prefix"
  fi
  if step "wine prefix (wineboot)" wp_create "$prefix" desktop; then
    record "  of which wineboot -i" "$WP_WINEBOOT_TIME" ""
    export WINEPREFIX=$prefix
    if step "Xvfb" wp_start_xvfb; then
      step "ctest win64 (under Wine)" run_ctest win64
      # The start-up benchmark, once, for its figures; it has no threshold.
      step "start-up benchmark" "$root/tools/bench.sh" 3
    fi
  fi
fi

note "programs"
for exe in build/win64/morvel.exe build/win32/morvel.exe build/packages/morvel-*.{exe,zip}; do
  if [ -f "$exe" ]; then
    echo "$exe: $(stat -c %s "$exe") bytes"
  else
    echo "$exe: missing"
    failed+=("$exe")
  fi
done

note "summary"
printf '%s\n' "${summary[@]}"
# Each Windows ctest entry is a whole test program or scenario under Wine;
# their times tell where a slow run went.
if [ -f "$log_dir/ctest-win64.log" ]; then
  sed -nE 's/^ *[0-9]+\/[0-9]+ Test +#[0-9]+: ([^ ]+) \.+ *([^0-9]*[A-Za-z)]) +([0-9.]+) sec$/  \1 \3s \2/p' \
    "$log_dir/ctest-win64.log" | while read -r name secs result; do
    printf '  %-32s %8s  %s\n' "$name" "$secs" "$result"
  done
fi
printf '%-34s %8s\n' "tools/test.sh" "$(wp_since "$t_all")"
if [ "${#failed[@]}" -gt 0 ]; then
  printf 'failed: %s\n' "${failed[@]}"
fi
# The closing line counts ctest entries of both presets.
echo "tests: $passed_total passed, $failed_total failed"
[ "${#failed[@]}" = 0 ]
