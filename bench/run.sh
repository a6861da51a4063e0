#!/usr/bin/env bash
# Converts one generated LightWave object (200,000 points, 400,000 triangles) to OBJ twice in
# one run: with Tarvelo's whole conversion road, headless, and with osgconv (Debian's
# openscenegraph). Prints the wall time and the peak memory of each process, and the ratios.
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

measure tarvelo "$build/tarvelo_bench" convert "$work/big.lwo" "$work/tarvelo.obj"
sed 's/^/  /' "$work/tarvelo.out"
measure osgconv osgconv "$work/big.lwo" "$work/osgconv.obj"

echo "OBJ sizes: tarvelo $(stat -c %s "$work/tarvelo.obj") bytes, osgconv $(stat -c %s "$work/osgconv.obj") bytes"
awk -v tw="$(cat "$work/tarvelo.wall")" -v ow="$(cat "$work/osgconv.wall")" \
  -v tm="$(cat "$work/tarvelo.rss")" -v om="$(cat "$work/osgconv.rss")" 'BEGIN {
    printf "tarvelo / osgconv: wall time %.3f (target below 0.2), peak memory %.3f (target below 0.5)\n",
      tw / ow, tm / om }'
