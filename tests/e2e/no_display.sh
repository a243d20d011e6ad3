# Without a reachable display the window cannot open: status 255 and nothing on standard output.
source "$(dirname "$0")/viewer_driver.sh"

start_viewer DISPLAY=:4095
wait_for_exit 10
status=$VIEWER_STATUS
[ "$status" = 255 ] || fail "exit status $status"
[ -s "$WORK_DIR/stdout" ] && fail "standard output: $(cat "$WORK_DIR/stdout")"
echo "PASS"
