#!/usr/bin/env bash
# The wall time of one picture from the command line: `open-model --output` (without any display)
# against f3d's `--output` on the same file at the same size, taken in turns in the same run.
# Prints each run and the median and best of both. f3d comes from Debian's package, installed
# here when missing; it needs an X display for its --output, so one is started when none is
# reachable (open-model's runs still have DISPLAY unset).
# Usage: bench/output_speed.sh [FILE] [runs] [WxH]   (default docs/showcase/showcase.glb, 7, 1366x768)
set -euo pipefail
cd "$(dirname "$0")/.."

file=${1:-docs/showcase/showcase.glb}
runs=${2:-7}
size=${3:-1366x768}
open_model=${OPEN_MODEL:-build/bin/open-model}
[ -x "$open_model" ] || { echo "build open-model first (cmake --build build)" >&2; exit 1; }

if ! command -v f3d >/dev/null; then
  sudo_prefix=()
  [ "$(id -u)" -ne 0 ] && sudo_prefix=(sudo)
  "${sudo_prefix[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_prefix[@]}" apt-get install -y -qq --no-install-recommends f3d
fi
source scripts/virtual-display.sh
ensure_display

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
seconds() { local start=$1 end=$2; awk -v a="$start" -v b="$end" 'BEGIN { printf "%.3f", b - a }'; }
time_command() {
  local start end
  start=$(date +%s.%N)
  "$@" >/dev/null 2>&1
  end=$(date +%s.%N)
  seconds "$start" "$end"
}
summary() { sort -n | awk '{ v[NR] = $1 } END { printf "median %.3f s, best %.3f s", v[int((NR + 1) / 2)], v[1] }'; }

ours=()
theirs=()
for run in $(seq 1 "$runs"); do
  ours+=("$(time_command env -u DISPLAY -u WAYLAND_DISPLAY "$open_model" --output "$out/open-model.png" \
    --resolution "$size" "$file")")
  theirs+=("$(time_command f3d --output="$out/f3d.png" --resolution="${size/x/,}" "$file")")
  echo "run $run: open-model ${ours[-1]} s, f3d ${theirs[-1]} s"
done
[ -s "$out/open-model.png" ] || { echo "open-model wrote no picture" >&2; exit 1; }
[ -s "$out/f3d.png" ] || { echo "f3d wrote no picture" >&2; exit 1; }
echo "$file at $size, $runs runs each, on $(nproc) cores:"
echo "  open-model --output (no display): $(printf '%s\n' "${ours[@]}" | summary)"
echo "  f3d --output ($(f3d --version 2>/dev/null | head -1 | tr -s ' ')): $(printf '%s\n' "${theirs[@]}" | summary)"
