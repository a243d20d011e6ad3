# open-model --watch: when an exporter writes the file again it is reloaded by itself. A broken
# write keeps the last good model on screen and says why on standard error; the next good
# write shows the new content (a Z-up crate, its plinth hidden behind it).
source "$(dirname "$0")/viewer_driver.sh"
WRITE_TEST_MODEL=$3
need_display

mkdir -p "$WORK_DIR/models"
model="$WORK_DIR/models/crate.glb"
"$WRITE_TEST_MODEL" "$model" || fail "write-test-model failed"

holds() { awk -v a="$1" -v b="$2" "BEGIN { exit !($3) }"; }
shot() { /usr/bin/import -window "$window" "$WORK_DIR/$1.png"; }
red_below() {
  /usr/bin/convert "$WORK_DIR/$1.png" -gravity south -crop 34%x50%+0+0 +repage -scale 25% \
    -fx '(r > 1.6 * g && r > 1.6 * b && r > 0.15) ? 1 : 0' -colorspace Gray \
    -format '%[fx:mean]' info:
}
# Takes the named shot until the plinth's share below the middle passes the test, up to 20 s.
shot_until() {
  for _ in $(seq 1 40); do
    shot "$1"
    holds "$(red_below "$1")" "$2" "$3" && return 0
    sleep 0.5
  done
  return 1
}

"$VIEWER" --watch "$model" >"$WORK_DIR/stdout" 2>"$WORK_DIR/stderr" &
VIEWER_PID=$!
window=$(find_window '^crate.glb - open-model$')
shot_until first 0.01 "a > b" || fail "the first view shows no plinth below the crate"

# Cut short, as a file is while an exporter is still writing it.
head -c 400 "$model" >"$WORK_DIR/broken.glb"
cp "$WORK_DIR/broken.glb" "$model"
for _ in $(seq 1 100); do
  grep -q '^open-model: .*crate.glb' "$WORK_DIR/stderr" && break
  sleep 0.1
done
grep -q '^open-model: .*crate.glb' "$WORK_DIR/stderr" ||
  fail "the broken write was not reported on standard error"
shot kept
holds "$(red_below kept)" 0.01 "a > b" || fail "the broken write did not keep the last good model"
kill -0 "$VIEWER_PID" || fail "open-model ended on the broken write"

"$WRITE_TEST_MODEL" "$WORK_DIR/standing.glb" --z-up || fail "write-test-model --z-up failed"
cp "$WORK_DIR/standing.glb" "$model"
shot_until rewritten 0.003 "a < b" || fail "the rewritten file was not shown"

press_key "$window" Escape
wait_for_exit 5
[ "$VIEWER_STATUS" = 0 ] || fail "exit status $VIEWER_STATUS after Esc"
echo "PASS: --watch reloaded the rewritten file and kept the model through a broken write"
