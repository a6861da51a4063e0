#!/usr/bin/env bash
# Converts one generated LightWave object (200,000 points, 400,000 triangles) to OBJ three
# times in one run: with Tarvelo's whole conversion road headless, with the real program on
# the Qt host (offscreen: start-up, a drop on the drop area, the save dialog answered, "Esci"),
# and with osgconv (Debian's openscenegraph). Prints the wall time and the peak memory of each
# process, and their ratios to osgconv's; the targets hold for the Qt host.
# Usage: bench/run.sh [build folder]   (default build/bench, a Release build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/bench}

missing=()
command -v osgconv >/dev/null 2>&1 || missing+=(openscenegraph)
[ -x /usr/bin/time ] || missing+=(time)
if ((${#missing[@]})); then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  echo "Installing: ${missing[*]}"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}" >/dev/null
fi

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARVELO_BENCH=ON >/dev/null
cmake --build "$build" --target tarvelo_bench >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/tarvelo_bench" generate "$work/big.lwo"

# measure NAME COMMAND...: runs it under /usr/bin/time -v; leaves seconds and KiB in
# $work/NAME.wall and $work/NAME.rss.
measure() {
  local name=$1
  shift
  /usr/bin/time -v -o "$work/$name.time" "$@" >"$work/$name.out" 2>&1 || {
    cat "$work/$name.out" "$work/$name.time" >&2
    echo "$name failed" >&2
    exit 1
  }
  # "Elapsed (wall clock) time (h:mm:ss or m:ss): 0:01.23"
  awk -F': ' '/Elapsed \(wall clock\)/ {
      n = split($2, p, ":"); s = 0
      for (i = 1; i <= n; i++) s = s * 60 + p[i]
      printf "%.3f\n", s }' "$work/$name.time" >"$work/$name.wall"
  awk -F': ' '/Maximum resident set size/ { print $2 }' "$work/$name.time" >"$work/$name.rss"
  printf '%-8s wall %8.3f s   peak memory %8.1f MiB\n' "$name" "$(cat "$work/$name.wall")" \
    "$(awk '{ print $1 / 1024 }' "$work/$name.rss")"
}

measure headless "$build/tarvelo_bench" convert "$work/big.lwo" "$work/headless.obj"
sed 's/^/  /' "$work/headless.out"
QT_QPA_PLATFORM=offscreen measure qt "$build/tarvelo_bench" convert-qt "$work/big.lwo" "$work/qt.obj"
grep '^tarvelo' "$work/qt.out" | sed 's/^/  /'
measure osgconv osgconv "$work/big.lwo" "$work/osgconv.obj"

cmp -s <(tail -n +6 "$work/headless.obj") <(tail -n +6 "$work/qt.obj") ||
  { echo "the two Tarvelo runs wrote different OBJ bodies" >&2; exit 1; }
echo "OBJ sizes: tarvelo $(stat -c %s "$work/qt.obj") bytes, osgconv $(stat -c %s "$work/osgconv.obj") bytes"
# ratio NAME TARGETS: NAME's wall time and peak memory over osgconv's.
ratio() {
  awk -v name="$1" -v note="$2" -v tw="$(cat "$work/$1.wall")" -v ow="$(cat "$work/osgconv.wall")" \
    -v tm="$(cat "$work/$1.rss")" -v om="$(cat "$work/osgconv.rss")" 'BEGIN {
      printf "%-8s / osgconv: wall time %.3f, peak memory %.3f%s\n", name, tw / ow, tm / om, note }'
}
ratio headless ""
ratio qt "   (targets: below 0.2 and below 0.5)"
