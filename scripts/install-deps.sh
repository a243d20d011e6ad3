#!/usr/bin/env bash
# Installs every Debian package the build, the tests and ./run need; quiet when all are present.
set -euo pipefail

packages=(
  build-essential cmake pkg-config clang-format
  libglfw3-dev libepoxy-dev libglm-dev libpugixml-dev libstb-dev libtinygltf-dev nlohmann-json3-dev
  libspng-dev libturbojpeg0-dev libwebp-dev libopenexr-dev
  libmeshoptimizer-dev libdraco-dev
  libassimp-dev  # model-import: OBJ, STL, PLY, FBX, COLLADA, 3DS, OFF, 3MF
  libgtest-dev libgmock-dev libx11-dev libxcb1-dev
  clang libclang-rt-14-dev  # the fuzz build: clang++ and its libFuzzer and sanitizer runtimes
  libgl1-mesa-dri libglx-mesa0 mesa-utils
  libegl-dev libegl-mesa0  # open-model --output: EGL on Mesa's surfaceless platform, no display
  xvfb xauth xdotool x11-utils x11-apps imagemagick fonts-dejavu-core
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_prefix=()
[ "$(id -u)" -ne 0 ] && sudo_prefix=(sudo)
echo "Installing: ${missing[*]}"
"${sudo_prefix[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_prefix[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
