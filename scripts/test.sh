#!/usr/bin/env bash
# Builds and runs every test twice: a normal build, then one with AddressSanitizer and
# UndefinedBehaviorSanitizer. Fails on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh
jobs=$(nproc)
export QT_QPA_PLATFORM=offscreen
# The tests run in their build folders: a relative samples folder is made absolute first.
if [ -n "${TARVELO_SAMPLES:-}" ]; then export TARVELO_SAMPLES="$(realpath -m "$TARVELO_SAMPLES")"; fi
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

run_suite() {  # build folder, extra cmake options...
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja -DTARVELO_WERROR=ON "$@" >/dev/null
  cmake --build "$dir" -j "$jobs"
  ctest --test-dir "$dir" --output-on-failure -j "$jobs"
}

echo "== tests"
run_suite build/test -DCMAKE_BUILD_TYPE=RelWithDebInfo
# The real LightWave files stay outside the repository: show whether this run converted them
# (ctest keeps every test's output in its log, so nothing runs twice).
grep -h '^Real LightWave files converted' build/test/Testing/Temporary/LastTest.log
echo "== tests with AddressSanitizer and UndefinedBehaviorSanitizer"
run_suite build/asan -DCMAKE_BUILD_TYPE=Debug -DTARVELO_SANITIZE=ON
