#!/usr/bin/env bash
# The model benchmark: time to the first frame and peak resident memory of open-model on a
# 1,000,000-triangle binary STL, the same mesh as OBJ and a 2,000,000-point binary PLY, each
# against f3d on the same file in the same run ("f3d --output", Debian's package, installed here
# when missing: it is not a dependency of the build or the tests). Each figure is the best of
# RUNS runs (default 2). In Xvfb when there is no display.
#   bench/model_formats.sh [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-2}
build=${BUILD:-build}

cmake --build "$build" -j"${JOBS:-2}" --target model_first_frame model_files model-import >/dev/null
if ! command -v f3d >/dev/null; then
  sudo_prefix=()
  [ "$(id -u)" -ne 0 ] && sudo_prefix=(sudo)
  "${sudo_prefix[@]}" apt-get install -y -qq --no-install-recommends f3d >/dev/null
fi
source scripts/virtual-display.sh
ensure_display

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bin/model_files" "$work"
echo "renderer: $(glxinfo -B 2>/dev/null | sed -n 's/^OpenGL renderer string: //p')"

best() { sort -n | head -1; }

for file in grid.stl grid.obj points.ply; do
  path="$work/$file"
  ours_ms=() ours_mib=() helper_mib=()
  for _ in $(seq 1 "$runs"); do
    line=$("$build/bin/model_first_frame" "$path" 2>/dev/null | tail -1)
    ours_ms+=("$(sed -n 's/^first frame \([0-9]*\) ms.*/\1/p' <<<"$line")")
    ours_mib+=("$(sed -n 's/.*peak memory \([0-9]*\) MiB.*/\1/p' <<<"$line")")
    helper_mib+=("$(sed -n 's/.*helper \([0-9]*\) MiB.*/\1/p' <<<"$line")")
  done
  f3d_ms=() f3d_mib=()
  for _ in $(seq 1 "$runs"); do
    /usr/bin/time -f '%e %M' -o "$work/time" \
      f3d --output="$work/f3d.png" --resolution=1366,768 "$path" >/dev/null 2>&1 || true
    read -r seconds kib <"$work/time"
    f3d_ms+=("$(awk -v s="$seconds" 'BEGIN { printf "%d", s * 1000 }')")
    f3d_mib+=("$((kib / 1024))")
  done
  printf '%-10s %4d MiB file | open-model: first frame %5d ms, peak %4d MiB (helper %4d MiB)' \
    "$file" "$(($(stat -c %s "$path") >> 20))" "$(printf '%s\n' "${ours_ms[@]}" | best)" \
    "$(printf '%s\n' "${ours_mib[@]}" | best)" "$(printf '%s\n' "${helper_mib[@]}" | best)"
  printf ' | f3d: %5d ms, peak %4d MiB\n' "$(printf '%s\n' "${f3d_ms[@]}" | best)" \
    "$(printf '%s\n' "${f3d_mib[@]}" | best)"
done
