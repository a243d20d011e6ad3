# open-model's own keys on two files: Tab then a left drag turns the view around the crate (it
# stays in the middle while the sky moves), R brings back the first view, F12 writes
# crate-1.png into the current folder and prints its path, H shows the keys, PageDown shows the second file (a
# Z-up crate, its plinth hidden behind it) and PageUp the first again, and F5 after the file
# was rewritten shows the new content.
source "$(dirname "$0")/viewer_driver.sh"
WRITE_TEST_MODEL=$3
need_display

mkdir -p "$WORK_DIR/models" "$WORK_DIR/shots"
model="$WORK_DIR/models/crate.glb"
second="$WORK_DIR/models/standing.glb"
"$WRITE_TEST_MODEL" "$model" || fail "write-test-model failed"
"$WRITE_TEST_MODEL" "$second" --z-up || fail "write-test-model --z-up failed"

holds() { awk -v a="$1" -v b="$2" "BEGIN { exit !($3) }"; }
shot() { /usr/bin/import -window "$window" "$WORK_DIR/$1.png"; }
# The picture without its top tenth, where the status line changes every frame.
below_status() { /usr/bin/convert "$WORK_DIR/$1.png" -gravity south -crop 100%x90%+0+0 +repage "$WORK_DIR/$1-body.png"; }
# Root mean square difference of two shots (0 to 1), status line left out.
difference() {
  below_status "$1"
  below_status "$2"
  # compare's status says whether the pictures differ; only its figure matters here.
  { /usr/bin/compare -metric RMSE "$WORK_DIR/$1-body.png" "$WORK_DIR/$2-body.png" null: 2>&1 || true; } |
    sed -n 's/.*(\(.*\)).*/\1/p'
}
green_middle() {
  local red green blue
  read -r red green blue < <(/usr/bin/convert "$WORK_DIR/$1.png" -gravity center \
    -crop 10%x10%+0+0 +repage -format '%[fx:mean.r] %[fx:mean.g] %[fx:mean.b]\n' info:)
  holds "$green" "$red" "a > b * 1.4" && holds "$green" "$blue" "a > b * 1.4"
}
# The plinth's red in the lower half of the middle third of columns.
red_below() {
  /usr/bin/convert "$WORK_DIR/$1.png" -gravity south -crop 34%x50%+0+0 +repage -scale 25% \
    -fx '(r > 1.6 * g && r > 1.6 * b && r > 0.15) ? 1 : 0' -colorspace Gray \
    -format '%[fx:mean]' info:
}
# Takes the shot until two in a row agree (the smoothing has settled), up to 15 seconds.
settled_shot() {
  shot "$1"
  for _ in $(seq 1 30); do
    sleep 0.5
    cp "$WORK_DIR/$1.png" "$WORK_DIR/$1-before.png"
    shot "$1"
    holds "$(difference "$1" "$1-before")" 0.004 "a < b" && return 0
  done
  fail "the view did not settle for the $1 shot"
}

cd "$WORK_DIR/shots"
"$VIEWER" "$model" "$second" >"$WORK_DIR/stdout" 2>"$WORK_DIR/stderr" &
VIEWER_PID=$!
window=$(find_window '^crate.glb - open-model$')
xdotool windowfocus "$window" 2>/dev/null || true
for _ in $(seq 1 60); do
  shot first
  green_middle first && break
  sleep 0.5
done
settled_shot first
green_middle first || fail "the first view does not show the crate in the middle"
holds "$(red_below first)" 0.01 "a > b" || fail "the first view shows no plinth below the crate"

press_key "$window" Tab
sleep 0.5
xdotool mousemove --window "$window" 683 384 mousedown 1
for _ in $(seq 1 12); do xdotool mousemove_relative -- 20 0; sleep 0.05; done
xdotool mouseup 1
settled_shot turned
green_middle turned || fail "after the orbit's drag the crate left the middle"
turned_by=$(difference first turned)
holds "$turned_by" 0.05 "a > b" || fail "the drag did not turn the view (difference $turned_by)"

press_key "$window" r
settled_shot restored
restored_by=$(difference first restored)
holds "$restored_by" 0.02 "a < b" || fail "R did not bring back the first view ($restored_by)"

press_key "$window" F12
for _ in $(seq 1 50); do [ -f crate-1.png ] && break; sleep 0.1; done
[ -f crate-1.png ] || fail "F12 wrote no crate-1.png"
grep -q -x -F "$PWD/crate-1.png" "$WORK_DIR/stdout" || fail "F12 did not print the screenshot's path"
[ "$(/usr/bin/identify -format '%m %wx%h' crate-1.png)" = "PNG 1366x768" ] ||
  fail "the screenshot is not a 1366x768 PNG"

# H lays the list of keys over the picture and takes it away again.
press_key "$window" h
settled_shot keys
keys_by=$(difference restored keys)
holds "$keys_by" 0.02 "a > b" || fail "H showed no list of keys ($keys_by)"
press_key "$window" h
settled_shot no-keys
holds "$(difference restored no-keys)" 0.02 "a < b" || fail "H again did not hide the list"

press_key "$window" Next
window=$(find_window '^standing.glb - open-model$')
settled_shot second
green_middle second || fail "PageDown: the second file's crate is not in the middle"
holds "$(red_below second)" 0.003 "a < b" || fail "PageDown did not show the second file"
press_key "$window" Prior
window=$(find_window '^crate.glb - open-model$')
settled_shot back
holds "$(red_below back)" 0.01 "a > b" || fail "PageUp did not bring back the first file"

# The file is rewritten (now standing on +Z, its plinth hidden) and F5 loads it again.
"$WRITE_TEST_MODEL" "$model" --z-up || fail "rewriting the model failed"
press_key "$window" F5
settled_shot reloaded
holds "$(red_below reloaded)" 0.003 "a < b" || fail "F5 did not show the rewritten file"

press_key "$window" Escape
wait_for_exit 5
[ "$VIEWER_STATUS" = 0 ] || fail "exit status $VIEWER_STATUS after Esc"
echo "PASS: turned by $turned_by, restored within $restored_by; H, F12, PageDown, PageUp and F5 work"
