#!/usr/bin/env bash
# Soak test: toggles F1 (window mode, rebuilding window, engine and scene) TOGGLES times, then
# flies for MINUTES minutes (W held, the mouse sweeping), sampling the viewer's resident memory
# and open file descriptors. Prints one line per sample and a summary; growth that does not
# level off is a leak. Needs the built viewer; without a display it starts Xvfb.
#   bench/soak.sh [TOGGLES=200] [MINUTES=10] [SAMPLE_SECONDS=30]
set -euo pipefail
cd "$(dirname "$0")/.."

toggles=${1:-200}
minutes=${2:-10}
sample_seconds=${3:-30}
viewer=build/bin/viewer
[ -x "$viewer" ] || { echo "build the viewer first: cmake --build build --target viewer" >&2; exit 2; }

source scripts/virtual-display.sh
display_is_reachable || start_virtual_display

"$viewer" >/dev/null 2>&1 &
viewer_pid=$!
trap 'kill -9 "$viewer_pid" 2>/dev/null || true; [ -n "${VIRTUAL_DISPLAY_PID:-}" ] && kill "$VIRTUAL_DISPLAY_PID" 2>/dev/null || true' EXIT

resident_mb() { awk '/VmRSS/ {printf "%.1f", $2 / 1024}' "/proc/$viewer_pid/status"; }
open_files() { ls "/proc/$viewer_pid/fd" | wc -l; }
sample() { echo "$1 rss_mb=$(resident_mb) fds=$(open_files)"; }
# The viewer's visible window, waiting for it (a toggle replaces the window).
viewer_window() {
  for _ in $(seq 1 300); do
    local id
    id=$(xdotool search --onlyvisible --pid "$viewer_pid" --name '^Window Test$' 2>/dev/null |
      tail -1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    kill -0 "$viewer_pid" 2>/dev/null || { echo "the viewer ended" >&2; exit 1; }
    sleep 0.1
  done
  echo "no viewer window" >&2
  exit 1
}

window=$(viewer_window)
sleep 2
sample "start"
first=$(resident_mb)
for toggle in $(seq 1 "$toggles"); do
  xdotool windowfocus "$window" 2>/dev/null || true
  xdotool keydown F1
  sleep 0.15
  xdotool keyup F1
  # The old window goes and a new one comes; wait until the new one is there.
  sleep 0.5
  window=$(viewer_window)
  if [ $((toggle % 10)) -eq 0 ]; then sample "toggle $toggle"; fi
done
after_toggles=$(resident_mb)

xdotool windowfocus "$window" 2>/dev/null || true
xdotool keydown W
end=$((SECONDS + minutes * 60))
next_sample=$((SECONDS + sample_seconds))
while [ "$SECONDS" -lt "$end" ]; do
  xdotool mousemove_relative -- 40 0
  sleep 0.5
  xdotool mousemove_relative -- -40 0
  sleep 0.5
  if [ "$SECONDS" -ge "$next_sample" ]; then
    sample "flight ${SECONDS}s"
    next_sample=$((SECONDS + sample_seconds))
  fi
done
xdotool keyup W
sample "end"
echo "summary: start ${first} MB, after ${toggles} toggles ${after_toggles} MB, after ${minutes} min of flight $(resident_mb) MB, $(open_files) open files"
