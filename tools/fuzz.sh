#!/bin/bash
# Builds the libFuzzer targets of the parsers (preset fuzz: clang-14 with
# AddressSanitizer and UBSan) and runs each one from its seed corpus in
# tests/fuzz/corpus/<target>. Exits non-zero when a target finds a fault;
# the input that caused it is kept in build/fuzz/findings.
#
#   tools/fuzz.sh            a few seconds per target (a step of tools/test.sh)
#   tools/fuzz.sh --long     one million executions per target
#   tools/fuzz.sh [--long] ini scsi     only these targets
#   FUZZ_JOBS=1 tools/fuzz.sh            one target at a time (default two)
#
# What a run finds beyond the seeds goes to build/fuzz/work/<target>, made
# anew each run; the seed corpus is only read.
set -uo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root" || exit 1

SHORT_SECONDS=${FUZZ_SECONDS:-4}
LONG_RUNS=1000000
mode=(-max_total_time="$SHORT_SECONDS")
if [ "${1:-}" = --long ]; then
  mode=(-runs="$LONG_RUNS")
  shift
fi

cmake --preset fuzz >/dev/null || exit 1
cmake --build --preset fuzz -j 2 || exit 1

# A small quarantine and short allocation stacks: with the defaults the
# targets spend most of their time faulting in fresh pages. A fault found
# is run again with the defaults to see its whole story.
export ASAN_OPTIONS=${ASAN_OPTIONS:-quarantine_size_mb=8:malloc_context_size=5}

bin=build/fuzz/tests/fuzz
findings=build/fuzz/findings
mkdir -p "$findings"
targets=("$@")
if [ "${#targets[@]}" = 0 ]; then
  for exe in "$bin"/fuzz_*; do targets+=("${exe##*/fuzz_}"); done
fi

# Two targets at a time by default (FUZZ_JOBS): each is one process that
# keeps one core busy. The ones still running when the script ends are
# ended by their ids.
jobs=${FUZZ_JOBS:-2}
running=()
# shellcheck disable=SC2317  # run by the trap
stop_running() {
  local pid
  for pid in "${running[@]}"; do
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  done
}
trap stop_running EXIT
trap 'exit 130' INT TERM

# fuzz_one NAME: one target from its seeds; its exit code and seconds go to
# build/fuzz/NAME.result.
fuzz_one() {
  local name=$1 start=$EPOCHSECONDS rc=0
  # -timeout: ten seconds on one input is a hang for parsers of this size.
  "$bin/fuzz_$name" "${mode[@]}" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$findings/$name-" "build/fuzz/work/$name" "tests/fuzz/corpus/$name" \
    >"build/fuzz/$name.log" 2>&1 || rc=$?
  echo "$rc $((EPOCHSECONDS - start))" >"build/fuzz/$name.result"
}

for name in "${targets[@]}"; do
  rm -rf "build/fuzz/work/$name" "build/fuzz/$name.result"
  mkdir -p "build/fuzz/work/$name"
  fuzz_one "$name" &
  running+=("$!")
  if [ "${#running[@]}" -ge "$jobs" ]; then
    wait "${running[0]}"
    running=("${running[@]:1}")
  fi
done
for pid in "${running[@]}"; do wait "$pid"; done
running=()

failed=()
rows=()
for name in "${targets[@]}"; do
  log=build/fuzz/$name.log
  rc='?' secs='?'
  if [ -f "build/fuzz/$name.result" ]; then read -r rc secs <"build/fuzz/$name.result"; fi
  runs=$(sed -nE 's/^stat::number_of_executed_units: *([0-9]+)/\1/p' "$log" | tail -1)
  if [ "$rc" = 0 ]; then
    result=ok
  else
    result="FAILED ($rc), see $log"
    failed+=("$name")
    grep -E 'ERROR|check failed|Test unit written' "$log" | head -5
  fi
  rows+=("$(printf '%-10s %10s runs %5ss  %s' "$name" "${runs:-?}" "$secs" "$result")")
done

printf '%s\n' "${rows[@]}"
if [ "${#failed[@]}" -gt 0 ]; then
  echo "fuzz: failed: ${failed[*]}"
  exit 1
fi
