# Helpers the end-to-end scripts share: start the viewer, find its windows, wait for it to end.
set -euo pipefail

VIEWER=$1
SEND_CLOSE_REQUEST=$2
WORK_DIR=$(mktemp -d)
VIEWER_PID=""

cleanup() {
  [ -n "$VIEWER_PID" ] && kill -9 "$VIEWER_PID" 2>/dev/null || true
  [ -n "${KEEP_SHOTS:-}" ] && cp "$WORK_DIR"/*.png "$KEEP_SHOTS"/ 2>/dev/null
  rm -rf "$WORK_DIR"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  [ -f "$WORK_DIR/stderr" ] && { echo "--- viewer stderr:" >&2; tail -20 "$WORK_DIR/stderr" >&2; }
  exit 1
}

# Starts the viewer in the background with its output captured; extra arguments are
# environment assignments.
start_viewer() {
  env "$@" "$VIEWER" >"$WORK_DIR/stdout" 2>"$WORK_DIR/stderr" &
  VIEWER_PID=$!
}

# Prints the id of the viewer's visible window whose title matches, waiting up to 20 seconds;
# a window id given as second argument (a window being replaced) does not count.
find_window() {
  local title=$1 replaced=${2:-}
  for _ in $(seq 1 200); do
    local id
    id=$(xdotool search --onlyvisible --pid "$VIEWER_PID" --name "$title" 2>/dev/null |
      grep -v -x -F "${replaced:-none}" | head -1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    kill -0 "$VIEWER_PID" 2>/dev/null || fail "the viewer ended while waiting for a window '$title'"
    sleep 0.1
  done
  fail "no window '$title' appeared"
}

window_size() {
  xwininfo -id "$1" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'
}

# Waits up to $1 seconds for the viewer to end and sets VIEWER_STATUS to its exit status.
# (Not in a subshell: only the viewer's parent shell can collect its status.)
wait_for_exit() {
  local seconds=$1
  for _ in $(seq 1 $((seconds * 10))); do
    if ! kill -0 "$VIEWER_PID" 2>/dev/null; then
      VIEWER_STATUS=0
      wait "$VIEWER_PID" || VIEWER_STATUS=$?
      VIEWER_PID=""
      return 0
    fi
    sleep 0.1
  done
  fail "the viewer did not end within $seconds seconds"
}

# Presses a key as a person does, held for a few frames: the viewer samples keys once a frame,
# so a press and release within one frame would not be seen by the flight controls.
press_key() {
  local window=$1 key=$2
  xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
  xdotool keydown "$key"
  sleep 0.25
  xdotool keyup "$key"
}

need_display() {
  if ! xdpyinfo >/dev/null 2>&1; then
    echo "SKIP: no display"
    exit 0
  fi
}
