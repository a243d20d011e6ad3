#!/usr/bin/env bash
# Makes the README's open-model screenshot: open-model --output renders a glTF file (the textured
# crate of the end-to-end test when no file is given) on the master pipeline without any display
# into docs/screenshots/open-model.png.
set -euo pipefail
model=${1:-}
[ -n "$model" ] && model=$(realpath -m "$model")
cd "$(dirname "$0")/.."

./scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target open-model write-test-model
if [ -z "$model" ]; then
  scratch=$(mktemp -d)
  trap 'rm -rf "$scratch"' EXIT
  model="$scratch/crate.glb"
  build/bin/write-test-model "$model"
fi

mkdir -p docs/screenshots
env -u DISPLAY build/bin/open-model --output docs/screenshots/open-model.png "$model"
echo "Screenshot: docs/screenshots/open-model.png"
