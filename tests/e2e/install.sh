# cmake --install into a temporary prefix: open-model --output runs from there without a display
# and finds its data under the prefix, as does the viewer on a display; the thumbnailer's
# command line, filled in as a file manager fills it, writes a thumbnail of the asked size; the
# desktop entry names the glTF types and the manual page is there.
source "$(dirname "$0")/viewer_driver.sh"
WRITE_TEST_MODEL=$3
BUILD_DIR=$4

prefix="$WORK_DIR/prefix"
cmake --install "$BUILD_DIR" --prefix "$prefix" >"$WORK_DIR/install.log" 2>&1 ||
  fail "cmake --install failed: $(tail -5 "$WORK_DIR/install.log")"
for file in bin/open-model bin/viewer share/viewer/data/master.pipeline.xml \
  share/applications/open-model.desktop share/thumbnailers/open-model.thumbnailer \
  share/mime/packages/open-model-formats.xml share/man/man1/open-model.1; do
  [ -f "$prefix/$file" ] || fail "the install lacks $file"
done
grep -q '^MimeType=.*model/gltf-binary;' "$prefix/share/applications/open-model.desktop" ||
  fail "the desktop entry does not name model/gltf-binary"

mkdir -p "$WORK_DIR/elsewhere"
cd "$WORK_DIR/elsewhere"
"$WRITE_TEST_MODEL" crate.glb || fail "write-test-model failed"
holds() { awk -v a="$1" -v b="$2" "BEGIN { exit !($3) }"; }
green_middle() {
  local red green blue
  read -r red green blue < <(/usr/bin/convert "$1" -gravity center -crop 20%x20%+0+0 +repage \
    -format '%[fx:mean.r] %[fx:mean.g] %[fx:mean.b]\n' info:)
  holds "$green" "$red" "a > b * 1.4" && holds "$green" "$blue" "a > b * 1.4"
}

# Through PATH, as a user runs it: the program's folder is not in its name.
env -u DISPLAY PATH="$prefix/bin:$PATH" open-model --output picture.png --resolution 320x200 \
  crate.glb >"$WORK_DIR/stdout" 2>"$WORK_DIR/stderr" || fail "installed open-model --output: $?"
[ "$(/usr/bin/identify -format '%wx%h' picture.png)" = 320x200 ] || fail "wrong picture size"
green_middle picture.png || fail "the installed program's picture does not show the crate"

# The thumbnailer's Exec line with %s, %o and %i filled in; the output has no extension, as a
# file manager's temporary file may not.
exec_line=$(sed -n 's/^Exec=//p' "$prefix/share/thumbnailers/open-model.thumbnailer")
command_line=${exec_line//%s/128}
command_line=${command_line//%o/$WORK_DIR/thumbnail}
command_line=${command_line//%i/$PWD/crate.glb}
env -u DISPLAY sh -c "$command_line" >"$WORK_DIR/stdout" 2>"$WORK_DIR/stderr" ||
  fail "the thumbnailer's command '$command_line' failed"
[ "$(/usr/bin/identify -format '%m %wx%h' "$WORK_DIR/thumbnail")" = "PNG 128x128" ] ||
  fail "the thumbnail is not a 128x128 PNG"

# The installed viewer finds its scene under the prefix: no engine error about missing files.
need_display
VIEWER="$prefix/bin/viewer"
start_viewer
window=$(find_window '^Window Test$')
sleep 2
"$SEND_CLOSE_REQUEST" "$window"
wait_for_exit 10
[ "$VIEWER_STATUS" = 0 ] || fail "the installed viewer ended with $VIEWER_STATUS"
if grep -F '[engine error]' "$WORK_DIR/stderr"; then
  fail "the installed viewer did not find its data"
fi
echo "PASS: installed into $prefix; picture, thumbnail and viewer work from there"
