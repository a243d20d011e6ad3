# The picture a person sees: the start view is rich and contrasted with a status line in the
# top-left corner, F3 changes it, a fast turn smears horizontal detail that then returns, and
# flying forward changes the view.
source "$(dirname "$0")/viewer_driver.sh"
need_display

# Figures of a screenshot, by ImageMagick.
colour_count() { /usr/bin/identify -format '%k' "$1"; }
contrast() { /usr/bin/convert "$1" -colorspace Gray -format '%[fx:standard_deviation]' info:; }
# Mean difference between pixels 8 apart along a row ("+8+0") or a column ("+0+8"): the
# picture's detail at the scale a turn's smear covers.
detail_along() {
  /usr/bin/convert "$1" \( +clone -roll "$2" \) -compose difference -composite \
    -colorspace Gray -format '%[fx:mean]' info:
}
# Horizontal detail over vertical detail. The starry scene looks alike in both directions from
# any heading, while a turn's smear removes only horizontal detail.
horizontal_share() {
  awk -v h="$(detail_along "$1" +8+0)" -v v="$(detail_along "$1" +0+8)" 'BEGIN { print h / v }'
}
# Normalised RMS difference of two screenshots (compare exits 1 when they differ).
difference() {
  local report
  report=$(/usr/bin/compare -metric RMSE "$1" "$2" null: 2>&1 || true)
  echo "$report" | sed 's/.*(\(.*\))/\1/'
}
# True when $1 compares to $2 as awk expression $3, e.g. "a > b * 2".
holds() { awk -v a="$1" -v b="$2" "BEGIN { exit !($3) }"; }
shot() { /usr/bin/import -window "$window" "$WORK_DIR/$1.png"; }

start_viewer
window=$(find_window '^Window Test$')
xdotool windowfocus "$window" 2>/dev/null || true
sleep 2
shot start

colours=$(colour_count "$WORK_DIR/start.png")
holds "$colours" 2000 "a >= b" || fail "the start view has only $colours colours"
spread=$(contrast "$WORK_DIR/start.png")
holds "$spread" 0.08 "a >= b" || fail "the start view's contrast is only $spread"

# The status line: near-white text strokes along both halves of the top-left corner's band,
# on a background that is not washed out.
lit_share() {
  /usr/bin/convert "$WORK_DIR/start.png" -crop "$1" +repage -colorspace Gray -threshold 85% \
    -format '%[fx:mean]' info:
}
lit=$(lit_share 230x30+0+0)
lit_right=$(lit_share 230x30+230+0)
holds "$lit" 0.004 "a >= b" || fail "no status text in the top-left corner ($lit lit)"
holds "$lit_right" 0.004 "a >= b" || fail "the status line stops short ($lit_right lit)"
holds "$lit" 0.5 "a <= b" || fail "the top-left corner is washed out ($lit lit)"

press_key "$window" F3
sleep 1
shot simple
changed=$(difference "$WORK_DIR/start.png" "$WORK_DIR/simple.png")
holds "$changed" 0.02 "a >= b" || fail "F3 did not change the picture ($changed)"
press_key "$window" F3
sleep 1
shot still

# The mouse keeps sweeping until eight screenshots are taken, and the most smeared of them
# counts: a busy machine renders few frames and delivers the motion in bursts, between which
# the turn can catch up. Each xdotool run chains ten moves, so no move waits for a process to
# start.
ten_moves=$(for _ in $(seq 1 10); do printf 'mousemove_relative -- 40 0 sleep 0.03 '; done)
sweep_mouse() {
  # shellcheck disable=SC2086 # the moves are separate words
  while [ ! -e "$WORK_DIR/sweep_done" ]; do xdotool $ten_moves; done
}
sweep_mouse &
sweeper=$!
for shot_number in $(seq 1 8); do
  sleep 0.2
  shot "turning$shot_number"
done
touch "$WORK_DIR/sweep_done"
wait "$sweeper"
sleep 2
shot settled
still=$(horizontal_share "$WORK_DIR/still.png")
turning=$(for shot_number in $(seq 1 8); do horizontal_share "$WORK_DIR/turning$shot_number.png"; done |
  sort -g | head -1)
settled=$(horizontal_share "$WORK_DIR/settled.png")
holds "$turning" "$still" "a < b * 0.8" || fail "a fast turn kept its detail ($turning vs $still)"
holds "$settled" "$still" "a > b * 0.85" || fail "detail did not return ($settled vs $still)"

shot before_flight
xdotool keydown w
sleep 1
xdotool keyup w
sleep 0.5
shot after_flight
moved=$(difference "$WORK_DIR/before_flight.png" "$WORK_DIR/after_flight.png")
holds "$moved" 0.02 "a >= b" || fail "holding W did not change the picture ($moved)"

press_key "$window" Escape
wait_for_exit 5
[ "$VIEWER_STATUS" = 0 ] || fail "exit status $VIEWER_STATUS"
echo "PASS: $colours colours, contrast $spread, status text $lit, horizontal share of detail $still/$turning/$settled"
