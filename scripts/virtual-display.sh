# Sourced by ./run and ./test: starts an Xvfb display of 1920x1080 when none is reachable and
# stops it when the calling script exits.

display_is_reachable() {
  [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1
}

start_virtual_display() {
  local number=90
  while [ -e "/tmp/.X${number}-lock" ] || [ -e "/tmp/.X11-unix/X${number}" ]; do
    number=$((number + 1))
  done
  Xvfb ":${number}" -screen 0 1920x1080x24 -nolisten tcp >/dev/null 2>&1 &
  VIRTUAL_DISPLAY_PID=$!
  trap 'kill "$VIRTUAL_DISPLAY_PID" 2>/dev/null || true' EXIT
  export DISPLAY=":${number}"
  for _ in $(seq 1 100); do
    xdpyinfo >/dev/null 2>&1 && return 0
    sleep 0.1
  done
  echo "Xvfb did not start on ${DISPLAY}" >&2
  return 1
}

ensure_display() {
  display_is_reachable || start_virtual_display
}
