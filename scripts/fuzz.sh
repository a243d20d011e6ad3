#!/usr/bin/env bash
# Runs the parsers' libFuzzer targets (tests/fuzz/) in the clang fuzz build, build-fuzz/.
#   scripts/fuzz.sh TARGET DURATION   one campaign of one target
#   scripts/fuzz.sh --all DURATION    every target in turn, DURATION each
# DURATION is minutes ("30"), or seconds or minutes with a unit ("20s", "5m"). New inputs grow
# build-fuzz/corpus/TARGET, outside the source tree; the checked-in corpus and regression inputs
# seed it. Each crash, hang, leak or out-of-memory input is copied into
# tests/fuzz/regressions/TARGET/ and makes the script fail. One fuzzer runs at a time.
set -euo pipefail
cd "$(dirname "$0")/.."

usage() {
  echo "usage: $0 TARGET|--all DURATION (minutes, or with a unit: 20s, 5m)" >&2
  exit 2
}
[ $# -eq 2 ] || usage

seconds_of() {
  case "$1" in
    *s) echo "${1%s}" ;;
    *m) echo $((${1%m} * 60)) ;;
    *) echo $(($1 * 60)) ;;
  esac
}
duration=$(seconds_of "$2")
[[ "$duration" =~ ^[0-9]+$ ]] && [ "$duration" -gt 0 ] || usage

all_targets=()
for source in tests/fuzz/*_fuzz.cpp; do
  name=$(basename "$source" _fuzz.cpp)
  all_targets+=("$name")
done
if [ "$1" = "--all" ]; then
  targets=("${all_targets[@]}")
else
  [ -f "tests/fuzz/$1_fuzz.cpp" ] || { echo "no fuzz target '$1' (${all_targets[*]})" >&2; exit 2; }
  targets=("$1")
fi

build=build-fuzz
jobs=${JOBS:-$(nproc)}
cmake -S . -B "$build" -DVIEWER_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVIEWER_WERROR=ON \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build" -j"$jobs" --target "${targets[@]/#/fuzz_}"

# Inputs that fail: crashes (sanitizer reports, broken promises), hangs, leaks, memory.
fault_pattern='^(crash|timeout|leak|oom)-'

run_target() {
  local name=$1
  local corpus="$build/corpus/$name" artifacts="$build/artifacts/$name" log="$build/logs/$name.log"
  mkdir -p "$corpus" "$artifacts" "$(dirname "$log")"
  local status=0 started=$SECONDS
  "$build/bin/fuzz_$name" "$corpus" "tests/fuzz/corpus/$name" "tests/fuzz/regressions/$name" \
    -dict="tests/fuzz/$name.dict" -artifact_prefix="$artifacts/" -max_total_time="$duration" \
    -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 >"$log" 2>&1 || status=$?

  local found=0
  for artifact in "$artifacts"/*; do
    [ -f "$artifact" ] || continue
    if [[ "$(basename "$artifact")" =~ $fault_pattern ]]; then
      cp "$artifact" "tests/fuzz/regressions/$name/"
      echo "$name: kept tests/fuzz/regressions/$name/$(basename "$artifact")"
      found=1
    fi
    rm -f "$artifact"
  done
  local runs speed
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  echo "$name: ${runs:-?} runs in $((SECONDS - started))s, ${speed:-?} runs/s, exit status $status" \
    "(log: $log)"
  if [ "$status" -ne 0 ] || [ "$found" -ne 0 ]; then
    grep -m1 -E '^==[0-9]+==ERROR|^SUMMARY|broken promise|runtime error|ALARM|out-of-memory' "$log" || true
    return 1
  fi
}

failed=()
for name in "${targets[@]}"; do
  run_target "$name" || failed+=("$name")
done
if [ ${#failed[@]} -ne 0 ]; then
  echo "fuzzing found faults in: ${failed[*]}" >&2
  exit 1
fi
