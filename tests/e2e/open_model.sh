# open-model on a textured glTF file the test writes: the model's colours fill the middle of the
# window, the summary line gives its counts, W flies towards it, F1 and back keep it framed and
# Esc ends with 0. A .gltf whose image is missing opens with a stand-in and says so. Bad input
# (no argument, a missing file, a text file, a truncated .glb) ends with 1 and one line on
# standard error, and leaves no window open.
source "$(dirname "$0")/viewer_driver.sh"
WRITE_TEST_MODEL=$3
need_display

mkdir -p "$WORK_DIR/models"
model="$WORK_DIR/models/crate.glb"
"$WRITE_TEST_MODEL" "$model" || fail "write-test-model failed"

start_model() {
  "$VIEWER" "$@" >"$WORK_DIR/stdout" 2>"$WORK_DIR/stderr" &
  VIEWER_PID=$!
}
holds() { awk -v a="$1" -v b="$2" "BEGIN { exit !($3) }"; }
shot() { /usr/bin/import -window "$window" "$WORK_DIR/$1.png"; }
# The share of the picture whose colour is the crate's green (green well above red and blue).
green_share() {
  /usr/bin/convert "$WORK_DIR/$1.png" -scale 25% \
    -fx '(g > 1.4 * r && g > 1.4 * b && g > 0.12) ? 1 : 0' -colorspace Gray \
    -format '%[fx:mean]' info:
}
# The mean red, green and blue of the middle 200 by 120 pixels.
middle_colour() {
  /usr/bin/convert "$WORK_DIR/$1.png" -gravity center -crop 200x120+0+0 +repage \
    -format '%[fx:mean.r] %[fx:mean.g] %[fx:mean.b]\n' info:
}
green_middle() {
  local red green blue
  read -r red green blue < <(middle_colour "$1")
  holds "$green" "$red" "a > b * 1.4" && holds "$green" "$blue" "a > b * 1.4" &&
    holds "$green" 0.12 "a > b"
}
# Takes the named screenshot until its middle shows the crate's green, for up to 30 seconds: a
# busy machine may take a while to draw the first frame after loading.
shot_with_green_middle() {
  for _ in $(seq 1 60); do
    shot "$1"
    green_middle "$1" && return 0
    sleep 0.5
  done
  fail "the middle of the $1 view is not the crate's green ($(middle_colour "$1"))"
}

# Each bad input: status 1, nothing on standard output, one line on standard error that says
# what is wrong, and no window of the program left.
refused() {
  local expected=$1
  shift
  start_model "$@"
  wait_for_exit 30
  [ "$VIEWER_STATUS" = 1 ] || fail "open-model $* ended with $VIEWER_STATUS, not 1"
  [ -s "$WORK_DIR/stdout" ] && fail "open-model $* wrote to standard output"
  lines=$(wc -l <"$WORK_DIR/stderr")
  [ "$lines" = 1 ] || fail "open-model $* wrote $lines lines to standard error"
  grep -q -F "$expected" "$WORK_DIR/stderr" ||
    fail "open-model $*: '$(cat "$WORK_DIR/stderr")' does not mention '$expected'"
  if xdotool search --onlyvisible --name 'open-model$' >/dev/null 2>&1; then
    fail "a window of open-model $* stayed open"
  fi
}
refused usage
refused missing.glb "$WORK_DIR/models/missing.glb"
echo "Shopping list: milk, bread" >"$WORK_DIR/models/notes.txt"
refused "notes.txt' is not a model file" "$WORK_DIR/models/notes.txt"
head -c 400 "$model" >"$WORK_DIR/models/broken.glb"
refused broken.glb "$WORK_DIR/models/broken.glb"

# A file whose image is missing still opens, drawn with the stand-in, and says so.
"$WRITE_TEST_MODEL" "$WORK_DIR/models/side.gltf" || fail "write-test-model failed on a .gltf"
rm "$WORK_DIR/models/side.png"
start_model "$WORK_DIR/models/side.gltf"
window=$(find_window '^side.gltf - open-model$')
# The warnings come with the first frame.
for _ in $(seq 1 200); do
  grep -q -F "side.png" "$WORK_DIR/stderr" && break
  sleep 0.1
done
partial="side.gltf: 2 meshes, 24 triangles, 2 materials, 0 textures, 1 light"
[ "$(cat "$WORK_DIR/stdout")" = "$partial" ] ||
  fail "standard output is '$(cat "$WORK_DIR/stdout")', not '$partial'"
grep -q -F "side.png" "$WORK_DIR/stderr" || fail "no message names the missing side.png"
"$SEND_CLOSE_REQUEST" "$window"
wait_for_exit 5
[ "$VIEWER_STATUS" = 0 ] || fail "exit status $VIEWER_STATUS after a close request"

start_model "$model"
window=$(find_window '^crate.glb - open-model$')
xdotool windowfocus "$window" 2>/dev/null || true
shot_with_green_middle start
summary="crate.glb: 2 meshes, 24 triangles, 2 materials, 1 texture, 1 light"
[ "$(cat "$WORK_DIR/stdout")" = "$summary" ] ||
  fail "standard output is '$(cat "$WORK_DIR/stdout")', not '$summary'"
framed=$(green_share start)
# The crate takes about two thirds of the view's height and less of its width.
holds "$framed" 0.08 "a >= b" && holds "$framed" 0.5 "a <= b" ||
  fail "the crate covers $framed of the start view"

press_key "$window" F1
window=$(find_window 'GLFW Window' "$window")
sleep 1
press_key "$window" F1
window=$(find_window 'GLFW Window' "$window")
sleep 1
shot_with_green_middle rebuilt
reframed=$(green_share rebuilt)
holds "$reframed" "$framed" "a > b * 0.8 && a < b * 1.25" ||
  fail "after F1 and back the crate covers $reframed of the view, before $framed"

# W in short strokes until the crate has grown: a stroke moves at most a few units even at a
# few frames a second, so the camera stops well before it reaches the crate.
closer=$reframed
for _ in $(seq 1 10); do
  xdotool windowfocus "$window" 2>/dev/null || true
  xdotool keydown w
  sleep 0.15
  xdotool keyup w
  sleep 1
  shot closer
  closer=$(green_share closer)
  holds "$closer" "$reframed" "a > b * 1.3" && break
done
holds "$closer" "$reframed" "a > b * 1.3" ||
  fail "holding W did not bring the crate closer ($reframed, then $closer)"
green_middle closer || fail "after W the middle of the view is not the crate's green"

press_key "$window" Escape
wait_for_exit 5
[ "$VIEWER_STATUS" = 0 ] || fail "exit status $VIEWER_STATUS after Esc"
if grep -F '[engine error]' "$WORK_DIR/stderr"; then
  fail "the engine reported errors"
fi
echo "PASS: the crate covers $framed, $reframed after F1 and back, $closer after W"
