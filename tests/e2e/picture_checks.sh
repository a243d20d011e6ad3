# The picture a person sees: the start view is rich and contrasted with a status line in the
# top-left corner, F3 changes it, a fast turn smears horizontal detail that then returns, and
# flying forward changes the view.
source "$(dirname "$0")/viewer_driver.sh"
need_display

# Figures of a screenshot, by ImageMagick.
colour_count() { /usr/bin/identify -format '%k' "$1"; }
contrast() { /usr/bin/convert "$1" -colorspace Gray -format '%[fx:standard_deviation]' info:; }
# Mean difference between pixels 8 apart along a row: the picture's horizontal detail at the
# scale a turn's smear covers.
horizontal_detail() {
  /usr/bin/convert "$1" \( +clone -roll +8+0 \) -compose difference -composite \
    -colorspace Gray -format '%[fx:mean]' info:
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

# The mouse keeps sweeping while four screenshots are taken, and the least detailed of them
# counts: a busy machine delivers the motion in bursts, between which the turn can settle.
sweep_mouse() {
  for _ in $(seq 1 60); do
    xdotool mousemove_relative -- 40 0
    sleep 0.03
  done
}
sweep_mouse &
sweeper=$!
for shot_number in 1 2 3 4; do
  sleep 0.3
  shot "turning$shot_number"
done
wait "$sweeper"
sleep 2
shot settled
still=$(horizontal_detail "$WORK_DIR/still.png")
turning=$(for shot_number in 1 2 3 4; do horizontal_detail "$WORK_DIR/turning$shot_number.png"; echo; done |
  sort -g | head -1)
settled=$(horizontal_detail "$WORK_DIR/settled.png")
holds "$turning" "$still" "a < b * 0.8" || fail "a fast turn kept its detail ($turning vs $still)"
holds "$settled" "$turning" "a > b * 1.2" || fail "detail did not return ($settled vs $turning)"

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
echo "PASS: $colours colours, contrast $spread, status text $lit, detail $still/$turning/$settled"
