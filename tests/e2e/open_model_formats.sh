# open-model on formats read through the import helper: an STL box the test writes opens with
# its summary line and draws in the middle of the window; a garbled STL ends with 1 and one line
# naming it; a file of no supported format is refused before any window opens.
source "$(dirname "$0")/viewer_driver.sh"
need_display

mkdir -p "$WORK_DIR/parts"
# The unit box as an ASCII STL: twelve facets, each written as the format has it.
facet() {
  printf 'facet normal %s\nouter loop\nvertex %s\nvertex %s\nvertex %s\nendloop\nendfacet\n' "$@"
}
quad() {
  facet "$1" "$2" "$3" "$4"
  facet "$1" "$2" "$4" "$5"
}
{
  echo "solid box"
  quad "0 0 1" "-1 -1 1" "1 -1 1" "1 1 1" "-1 1 1"
  quad "0 0 -1" "-1 -1 -1" "-1 1 -1" "1 1 -1" "1 -1 -1"
  quad "1 0 0" "1 -1 -1" "1 1 -1" "1 1 1" "1 -1 1"
  quad "-1 0 0" "-1 -1 -1" "-1 -1 1" "-1 1 1" "-1 1 -1"
  quad "0 1 0" "-1 1 -1" "-1 1 1" "1 1 1" "1 1 -1"
  quad "0 -1 0" "-1 -1 -1" "1 -1 -1" "1 -1 1" "-1 -1 1"
  echo "endsolid box"
} >"$WORK_DIR/parts/box.stl"

start_model() {
  "$VIEWER" "$@" >"$WORK_DIR/stdout" 2>"$WORK_DIR/stderr" &
  VIEWER_PID=$!
}
# The mean red, green and blue of the middle 120 by 80 pixels.
middle_colour() {
  /usr/bin/convert "$WORK_DIR/$1.png" -gravity center -crop 120x80+0+0 +repage \
    -format '%[fx:mean.r] %[fx:mean.g] %[fx:mean.b]\n' info:
}
# The box is white, lit by the rig: grey, bright enough, with the channels close together.
grey_middle() {
  local red green blue
  read -r red green blue < <(middle_colour "$1")
  awk -v r="$red" -v g="$green" -v b="$blue" 'BEGIN {
    lo = r; if (g < lo) lo = g; if (b < lo) lo = b
    hi = r; if (g > hi) hi = g; if (b > hi) hi = b
    exit !(lo > 0.15 && hi - lo < 0.25) }'
}

start_model "$WORK_DIR/parts/box.stl"
window=$(find_window '^box.stl - open-model$')
summary="box.stl: 1 mesh, 12 triangles, 1 material, 0 textures, 0 lights"
for _ in $(seq 1 100); do
  [ -s "$WORK_DIR/stdout" ] && break
  sleep 0.1
done
[ "$(cat "$WORK_DIR/stdout")" = "$summary" ] ||
  fail "standard output is '$(cat "$WORK_DIR/stdout")', not '$summary'"
drawn=0
for _ in $(seq 1 60); do
  /usr/bin/import -window "$window" "$WORK_DIR/box.png"
  grey_middle box && { drawn=1; break; }
  sleep 0.5
done
[ "$drawn" = 1 ] || fail "the middle of the view is not the grey box ($(middle_colour box))"
press_key "$window" Escape
wait_for_exit 5
[ "$VIEWER_STATUS" = 0 ] || fail "exit status $VIEWER_STATUS after Esc"
if grep -F '[engine error]' "$WORK_DIR/stderr"; then
  fail "the engine reported errors"
fi

# Each bad input: status 1, nothing on standard output, one line on standard error naming it.
refused() {
  local expected=$1
  shift
  start_model "$@"
  wait_for_exit 60
  [ "$VIEWER_STATUS" = 1 ] || fail "open-model $* ended with $VIEWER_STATUS, not 1"
  [ -s "$WORK_DIR/stdout" ] && fail "open-model $* wrote to standard output"
  lines=$(wc -l <"$WORK_DIR/stderr")
  [ "$lines" = 1 ] || fail "open-model $* wrote $lines lines to standard error"
  grep -q -F "$expected" "$WORK_DIR/stderr" ||
    fail "open-model $*: '$(cat "$WORK_DIR/stderr")' does not mention '$expected'"
}
printf '\x7f\x01garbage %.0s' $(seq 1 30) >"$WORK_DIR/parts/garbled.stl"
refused "garbled.stl" "$WORK_DIR/parts/garbled.stl"
echo "a b c" >"$WORK_DIR/parts/shape.xyz"
refused "shape.xyz' is not a model file open-model reads" "$WORK_DIR/parts/shape.xyz"

echo "PASS: box.stl opened and drawn; a garbled STL and an unknown format were refused"
