# open-model --output without any display: DISPLAY unset, it writes a PNG of the requested size
# with the crate's green in the middle and exits 0, opening no window. A file standing on +Z
# is seen from above (its red plinth hidden behind the crate) until --up +Z stands it upright,
# the plinth below. --hdri surrounds it with a panorama. Each bad option ends with 1 and one
# line naming it.
source "$(dirname "$0")/viewer_driver.sh"
WRITE_TEST_MODEL=$3
WRITE_BENDING_TUBE=$4

mkdir -p "$WORK_DIR/models"
model="$WORK_DIR/models/crate.glb"
z_up="$WORK_DIR/models/standing.glb"
"$WRITE_TEST_MODEL" "$model" || fail "write-test-model failed"
"$WRITE_TEST_MODEL" "$z_up" --z-up || fail "write-test-model --z-up failed"

holds() { awk -v a="$1" -v b="$2" "BEGIN { exit !($3) }"; }
# The mean red, green and blue of the middle fifth of the picture.
middle_colour() {
  /usr/bin/convert "$1" -gravity center -crop 20%x20%+0+0 +repage \
    -format '%[fx:mean.r] %[fx:mean.g] %[fx:mean.b]\n' info:
}
# The share of the plinth's red (red well above green and blue) in a band of the picture's
# middle third of columns: "north" is its upper half, "south" its lower half.
red_share() {
  /usr/bin/convert "$1" -gravity "$2" -crop 34%x50%+0+0 +repage -scale 25% \
    -fx '(r > 1.6 * g && r > 1.6 * b && r > 0.15) ? 1 : 0' -colorspace Gray \
    -format '%[fx:mean]' info:
}
render() {
  env -u DISPLAY -u WAYLAND_DISPLAY "$VIEWER" "$@" >"$WORK_DIR/stdout" 2>"$WORK_DIR/stderr"
}

started=$(date +%s.%N)
render --output "$WORK_DIR/crate.png" --resolution 640x400 "$model" ||
  fail "open-model --output ended with $?"
finished=$(date +%s.%N)
[ -f "$WORK_DIR/crate.png" ] || fail "no picture written"
size=$(/usr/bin/identify -format '%wx%h' "$WORK_DIR/crate.png")
[ "$size" = 640x400 ] || fail "the picture is $size, not 640x400"
read -r red green blue < <(middle_colour "$WORK_DIR/crate.png")
holds "$green" "$red" "a > b * 1.4" && holds "$green" "$blue" "a > b * 1.4" ||
  fail "the middle of the picture is not the crate's green ($red $green $blue)"

# The default size, the simple pipeline and a time for a file without animations.
render --output "$WORK_DIR/simple.png" --pipeline simple --time 2 "$model" ||
  fail "open-model --output --pipeline simple ended with $?"
size=$(/usr/bin/identify -format '%wx%h' "$WORK_DIR/simple.png")
[ "$size" = 1366x768 ] || fail "the default picture is $size, not 1366x768"

render --output "$WORK_DIR/lying.png" --resolution 400x400 "$z_up" || fail "Z-up file: $?"
render --output "$WORK_DIR/upright.png" --resolution 400x400 --up +Z "$z_up" ||
  fail "--up +Z ended with $?"
lying_south=$(red_share "$WORK_DIR/lying.png" south)
upright_north=$(red_share "$WORK_DIR/upright.png" north)
upright_south=$(red_share "$WORK_DIR/upright.png" south)
holds "$lying_south" 0.005 "a < b" ||
  fail "without --up the Z-up file already shows its plinth below the crate ($lying_south)"
holds "$upright_north" 0.005 "a < b" && holds "$upright_south" 0.01 "a > b" ||
  fail "with --up +Z the plinth is not below the crate (above $upright_north, below $upright_south)"

"$WRITE_BENDING_TUBE" "$WORK_DIR/models/tube.glb" || fail "write-bending-tube failed"
for seconds in 0 0.5; do
  render --output "$WORK_DIR/tube-$seconds.png" --resolution 320x240 --time "$seconds" \
    "$WORK_DIR/models/tube.glb" || fail "--time $seconds ended with $?"
done
render --output "$WORK_DIR/tube-again.png" --resolution 320x240 --time 0 "$WORK_DIR/models/tube.glb" ||
  fail "--time 0 again ended with $?"
rmse() {
  { /usr/bin/compare -metric RMSE "$1" "$2" null: 2>&1 || true; } | sed -n 's/.*(\(.*\)).*/\1/p'
}
posed=$(rmse "$WORK_DIR/tube-0.png" "$WORK_DIR/tube-0.5.png")
again=$(rmse "$WORK_DIR/tube-0.png" "$WORK_DIR/tube-again.png")
holds "$posed" 0.01 "a > b" || fail "--time 0.5 shows the tube as at 0 ($posed)"
holds "$again" 0.002 "a < b" || fail "the same --time gave another picture ($again)"

# --hdri: a panorama red above the horizon and blue below lights the crate and surrounds it.
# Radiance pixels are mantissas and an exponent: (128, 0, 0, 129) is red 1.0.
panorama="$WORK_DIR/sky.hdr"
{
  printf '#?RADIANCE\nFORMAT=32-bit_rle_rgbe\n\n-Y 4 +X 8\n'
  for row in 1 2; do for column in 1 2 3 4 5 6 7 8; do printf '\200\000\000\201'; done; done
  for row in 1 2; do for column in 1 2 3 4 5 6 7 8; do printf '\000\000\200\201'; done; done
} >"$panorama"
render --output "$WORK_DIR/hdri.png" --resolution 320x240 --hdri "$panorama" "$model" ||
  fail "open-model --hdri ended with $? ($(cat "$WORK_DIR/stderr"))"
band_colour() {
  /usr/bin/convert "$1" -gravity "$2" -crop 100%x10%+0+0 +repage \
    -format '%[fx:mean.r] %[fx:mean.g] %[fx:mean.b]\n' info:
}
read -r top_red top_green top_blue < <(band_colour "$WORK_DIR/hdri.png" north)
read -r bottom_red bottom_green bottom_blue < <(band_colour "$WORK_DIR/hdri.png" south)
holds "$top_red" "$top_blue" "a > b * 3" && holds "$bottom_blue" "$bottom_red" "a > b * 3" ||
  fail "the panorama is not around the model (top $top_red $top_green $top_blue, bottom $bottom_red $bottom_green $bottom_blue)"
echo "not a panorama" >"$WORK_DIR/broken.hdr"
status=0
render --output "$WORK_DIR/broken.png" --hdri "$WORK_DIR/broken.hdr" "$model" || status=$?
[ "$status" = 1 ] || fail "a broken panorama ended with $status, not 1"
grep -q -F "broken.hdr" "$WORK_DIR/stderr" || fail "the broken panorama is not named: $(cat "$WORK_DIR/stderr")"

# Each bad option: status 1, one line on standard error naming it, no picture.
refused() {
  local option=$1
  shift
  local status=0
  render "$@" || status=$?
  [ "$status" = 1 ] || fail "open-model $* ended with $status, not 1"
  lines=$(wc -l <"$WORK_DIR/stderr")
  [ "$lines" = 1 ] || fail "open-model $* wrote $lines lines to standard error"
  grep -q -F -- "$option" "$WORK_DIR/stderr" ||
    fail "open-model $*: '$(cat "$WORK_DIR/stderr")' does not name $option"
}
refused --resolution --output "$WORK_DIR/bad.png" --resolution 12 "$model"
refused --up --output "$WORK_DIR/bad.png" --up sideways "$model"
refused --time --output "$WORK_DIR/bad.png" --time later "$model"
refused --pipeline --output "$WORK_DIR/bad.png" --pipeline fancy "$model"
refused --output --output "$WORK_DIR/bad.jpg" "$model"
refused --fast --fast "$model"
refused missing.glb --output "$WORK_DIR/bad.png" "$WORK_DIR/missing.glb"
[ -e "$WORK_DIR/bad.png" ] && fail "a refused command wrote a picture"

render --help || fail "--help ended with $?"
grep -q -F -- "--output" "$WORK_DIR/stdout" && grep -q -F "F12" "$WORK_DIR/stdout" ||
  fail "--help does not list the options and keys"
render --version || fail "--version ended with $?"
grep -q "^open-model [0-9]" "$WORK_DIR/stdout" || fail "--version says '$(cat "$WORK_DIR/stdout")'"

echo "PASS: --time moved the tube by $posed; $size pictures without a display ($(awk -v a="$started" -v b="$finished" \
  'BEGIN { printf "%.2f", b - a }') s for the first); plinth below the crate: $lying_south lying, $upright_south upright"
