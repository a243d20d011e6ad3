# open-model on a skinned tube that bends and straightens: the summary line counts its
# animation, the picture moves between two screenshots, and after Space it holds still.
source "$(dirname "$0")/viewer_driver.sh"
WRITE_BENDING_TUBE=$3
need_display

model="$WORK_DIR/tube.glb"
"$WRITE_BENDING_TUBE" "$model" || fail "write-bending-tube failed"
"$VIEWER" "$model" >"$WORK_DIR/stdout" 2>"$WORK_DIR/stderr" &
VIEWER_PID=$!
window=$(find_window '^tube.glb - open-model$')
xdotool windowfocus "$window" 2>/dev/null || true

shot() { /usr/bin/import -window "$window" "$WORK_DIR/$1.png"; }
# The tube's red, as a black and white mask of the view below the status line.
red_mask() {
  /usr/bin/convert "$WORK_DIR/$1.png" -gravity south -crop 100%x90%+0+0 +repage -scale 25% \
    -fx '(r > 1.5 * g && r > 1.5 * b && r > 0.3) ? 1 : 0' -colorspace Gray "$WORK_DIR/$1-mask.png"
  /usr/bin/convert "$WORK_DIR/$1-mask.png" -format '%[fx:mean]' info:
}
# The share of the view where the masks of two shots differ (compare's status says whether they
# differ, which is not a failure here).
moved_between() {
  local pixels
  pixels=$(/usr/bin/compare -metric AE "$WORK_DIR/$1-mask.png" "$WORK_DIR/$2-mask.png" null: 2>&1 || true)
  awk -v pixels="$pixels" 'BEGIN { print pixels / (1366 * 768 * 0.9 / 16) }'
}
holds() { awk -v a="$1" -v b="$2" "BEGIN { exit !($3) }"; }

summary="tube.glb: 1 mesh, 192 triangles, 1 material, 0 textures, 0 lights, 1 animation"
for _ in $(seq 1 100); do
  [ -s "$WORK_DIR/stdout" ] && break
  sleep 0.1
done
[ "$(cat "$WORK_DIR/stdout")" = "$summary" ] ||
  fail "standard output is '$(cat "$WORK_DIR/stdout")', not '$summary'"

# Waits for the first frame with the tube in it.
for _ in $(seq 1 60); do
  shot first
  holds "$(red_mask first)" 0.005 "a > b" && break
  sleep 0.5
done
holds "$(red_mask first)" 0.005 "a > b" || fail "the tube does not show"

# Playing: of several pairs of shots half a second apart, one at least shows the tube moved.
playing=0
for pair in 1 2 3 4; do
  shot "a$pair"
  sleep 0.5
  shot "b$pair"
  red_mask "a$pair" >/dev/null
  red_mask "b$pair" >/dev/null
  moved=$(moved_between "a$pair" "b$pair")
  holds "$moved" "$playing" "a > b" && playing=$moved
done
holds "$playing" 0.002 "a > b" || fail "the tube did not move while playing ($playing)"

press_key "$window" space
sleep 1
shot paused1
sleep 1
shot paused2
red_mask paused1 >/dev/null
red_mask paused2 >/dev/null
still=$(moved_between paused1 paused2)
holds "$still" 0.0005 "a < b" || fail "the tube moved after Space ($still)"
holds "$(red_mask paused2)" 0.005 "a > b" || fail "the tube is gone after Space"

press_key "$window" Escape
wait_for_exit 5
[ "$VIEWER_STATUS" = 0 ] || fail "exit status $VIEWER_STATUS after Esc"
if grep -F '[engine error]' "$WORK_DIR/stderr"; then
  fail "the engine reported errors"
fi
echo "PASS: the tube moved over $playing of the view while playing, $still after Space"
