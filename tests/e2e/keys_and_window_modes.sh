# Esc ends the viewer; F1 switches to a full-screen window of the screen's size and back to
# 1366 by 768; twenty switches in a row, then Esc, end cleanly with no engine error.
source "$(dirname "$0")/viewer_driver.sh"
need_display

screen=$(xdpyinfo | awk '/dimensions:/ {print $2}')

start_viewer
window=$(find_window '^Window Test$')
press_key "$window" F1
window=$(find_window 'GLFW Window' "$window")
sleep 0.3
size=$(window_size "$window")
[ "$size" = "$screen" ] || fail "full-screen window is $size, the screen $screen"

press_key "$window" F1
window=$(find_window 'GLFW Window' "$window")
sleep 0.3
size=$(window_size "$window")
[ "$size" = "1366x768" ] || fail "window after the second F1 is $size"

for _ in $(seq 1 20); do
  press_key "$window" F1
  window=$(find_window 'GLFW Window' "$window")
done
press_key "$window" Escape
wait_for_exit 5
status=$VIEWER_STATUS
[ "$status" = 0 ] || fail "exit status $status after Esc"
if grep -i -E 'error|fail' "$WORK_DIR/stderr"; then
  fail "engine messages reported errors"
fi
echo "PASS"
