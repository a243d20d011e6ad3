# A 1366 by 768 window titled "Window Test" appears; a close request ends the viewer with 0.
source "$(dirname "$0")/viewer_driver.sh"
need_display

start_viewer
window=$(find_window '^Window Test$')
size=$(window_size "$window")
[ "$size" = "1366x768" ] || fail "window size is $size"
sleep 1

"$SEND_CLOSE_REQUEST" "$window"
wait_for_exit 2
status=$VIEWER_STATUS
[ "$status" = 0 ] || fail "exit status $status after a close request"
grep -q . "$WORK_DIR/stdout" && fail "standard output is not empty"
echo "PASS"
