# The viewer built with AddressSanitizer and UndefinedBehaviorSanitizer, on a content directory
# where one file of each hostile kind replaces a shipped one: it starts, draws what is left
# (the built-in pipeline stands in for the broken master pipeline), ends with status 0 on a
# close request, and the sanitizers report nothing.
source "$(dirname "$0")/viewer_driver.sh"
need_display

# The viewer reads the data directory beside itself, so both are copied and the copy broken.
app="$WORK_DIR/app"
mkdir -p "$app"
cp "$VIEWER" "$app/viewer"
cp -r "$(dirname "$VIEWER")/data" "$app/data"
data="$app/data"
VIEWER="$app/viewer"

repeat() { local text=$1 count=$2; printf "%${count}s" "" | sed "s| |$text|g"; }
# glTF whose JSON nests 100,000 levels deep inside extras.
{ printf '{"asset":{"version":"2.0"},"extras":'; repeat '[' 100000; repeat ']' 100000; printf '}'; } \
  >"$data/hebe_statue.glb"
# A scene nested 100,000 groups deep.
{ printf '<scene>'; repeat '<group>' 100000; repeat '</group>' 100000; printf '</scene>'; } \
  >"$data/glue.scene.xml"
# A truncated PNG, a JPEG header over zeros, and a PNG header that claims 16384 by 16384.
head -c 300 "$data/marble.png" >"$WORK_DIR/truncated" && mv "$WORK_DIR/truncated" "$data/marble.png"
{ printf '\xff\xd8\xff\xe0\x00\x10JFIF\x00'; head -c 4096 /dev/zero; } >"$data/pedestal_marble.png"
{ printf '\x89PNG\r\n\x1a\n\x00\x00\x00\x0dIHDR\x00\x00\x40\x00\x00\x00\x40\x00\x08\x06\x00\x00\x00'
  printf '\x00\x00\x00\x00'; head -c 64 /dev/zero; } >"$data/membrane.png"
# Font metrics of five megabytes of zeros and control characters.
{ head -c 5000000 /dev/zero; printf '\x1b[31m\n\x07'; } >"$data/font.metrics"
# Broken pipeline and post-processing files.
printf '<pipeline><stage>' >"$data/master.pipeline.xml"
printf '<material><uniform name="blurDir"' >"$data/postprocess.material.xml"

# Leaks inside the OpenGL driver are its own: Mesa keeps compiled shaders and its LLVM state
# for the life of the process. The driver is unloaded before the leak check, which would leave
# its frames nameless; loading it up front keeps it, so the suppressions can name it. Nothing of
# the viewer's own is suppressed.
driver=$(ls /usr/lib/*/dri/swrast_dri.so 2>/dev/null | head -1 || true)
[ -n "$driver" ] && export LD_PRELOAD="$driver"
export LSAN_OPTIONS="suppressions=$(dirname "$0")/driver_leaks.supp:print_suppressions=0"
export ASAN_OPTIONS="detect_leaks=1:verify_asan_link_order=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
start_viewer
window=$(find_window '^Window Test$')
# The sanitized build is slow to load and draw, the more so on a busy machine: the scene has
# up to a minute to appear.
brightness=0
for _ in $(seq 1 60); do
  sleep 1
  /usr/bin/import -window "$window" "$WORK_DIR/broken.png"
  brightness=$(/usr/bin/convert "$WORK_DIR/broken.png" -colorspace Gray -format '%[fx:mean]' info:)
  awk -v b="$brightness" 'BEGIN { exit !(b > 0.03) }' && break
done
awk -v b="$brightness" 'BEGIN { exit !(b > 0.03) }' ||
  fail "the window is dark (mean brightness $brightness): the rest of the scene is not drawn"

"$SEND_CLOSE_REQUEST" "$window"
wait_for_exit 60
[ "$VIEWER_STATUS" = 0 ] || fail "exit status $VIEWER_STATUS after a close request"
if grep -E "ERROR: (Address|Leak)Sanitizer|runtime error:" "$WORK_DIR/stderr"; then
  fail "the sanitizers reported a fault"
fi
for file in hebe_statue.glb glue.scene.xml marble.png pedestal_marble.png membrane.png font.metrics \
  master.pipeline.xml postprocess.material.xml; do
  grep -q "$file" "$WORK_DIR/stderr" || fail "no message names $file"
done
echo "PASS"
