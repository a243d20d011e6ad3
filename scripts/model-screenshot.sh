#!/usr/bin/env bash
# Makes the README's open-model screenshot: runs ./run on a glTF file in an Xvfb display (the
# textured crate of the end-to-end test when no file is given) and copies its view on the
# master pipeline to docs/screenshots/open-model.png.
set -euo pipefail
model=${1:-}
[ -n "$model" ] && model=$(realpath -m "$model")
cd "$(dirname "$0")/.."

if [ -z "$model" ]; then
  ./scripts/install-deps.sh
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build build -j"$(nproc)" --target write-test-model
  scratch=$(mktemp -d)
  trap 'rm -rf "$scratch"' EXIT
  model="$scratch/crate.glb"
  build/bin/write-test-model "$model"
fi

# Without DISPLAY, ./run always takes its screenshots in a display of its own.
env -u DISPLAY ./run "$model"
mkdir -p docs/screenshots
cp "out/$(basename "${model%.*}")-master.png" docs/screenshots/open-model.png
echo "Screenshot: docs/screenshots/open-model.png"
