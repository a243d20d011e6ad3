# With OpenGL 1.5 the engine cannot start: the small window with the long title shows for five
# seconds, then the two texts go to standard output and the status is 255 (-1).
source "$(dirname "$0")/viewer_driver.sh"
need_display

started=$(date +%s.%N)
start_viewer MESA_GL_VERSION_OVERRIDE=1.5
window=$(find_window '^Unable to initalize engine - Make sure you have an OpenGL 2.0 compatible graphics card$')
size=$(window_size "$window")
[ "$size" = "800x16" ] || fail "notice window size is $size"
[ -s "$WORK_DIR/stdout" ] && fail "output came before the five seconds were over"

wait_for_exit 15
status=$VIEWER_STATUS
ended=$(date +%s.%N)
[ "$status" = 255 ] || fail "exit status $status"
awk -v a="$started" -v b="$ended" 'BEGIN { exit !(b - a >= 5.0) }' || fail "ended before five seconds"
printf 'Unable to initalize engine\nMake sure you have an OpenGL 2.0 compatible graphics card' \
  >"$WORK_DIR/expected"
cmp -s "$WORK_DIR/expected" "$WORK_DIR/stdout" || fail "output was: $(cat "$WORK_DIR/stdout")"
echo "PASS"
