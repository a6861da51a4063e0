#!/usr/bin/env bash
# Fuzzes whole conversions under AddressSanitizer and UndefinedBehaviorSanitizer:
#   bash scripts/fuzz.sh [seconds] [form types...]
# for the given seconds (default 60) on each form type in turn (default SC3D AAPO TDDD LWOB),
# from seed files made by tests/iff_builder and a dictionary of chunk ids. The random seed is
# fixed, so a run can be repeated. Any finding stops it with a failure; the input is kept in
# build/fuzz/findings/.
set -euo pipefail
cd "$(dirname "$0")/.."
tarvelo_extra_packages=(clang libclang-rt-dev)
source scripts/setup.sh
seconds=${1:-60}
shift || true
forms=("$@")
((${#forms[@]})) || forms=(SC3D AAPO TDDD LWOB)
dir=build/fuzz
CC=clang CXX=clang++ cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTARVELO_FUZZ=ON -DTARVELO_SANITIZE=ON -DTARVELO_TESTS=OFF >/dev/null
cmake --build "$dir" --target tarvelo_fuzz tarvelo_fuzz_seeds >"$dir/build.log" ||
  { cat "$dir/build.log"; exit 1; }
"$dir/tarvelo_fuzz_seeds" "$dir/seeds"
mkdir -p "$dir/findings"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
for form in "${forms[@]}"; do
  echo "== fuzzing $form for $seconds s"
  rm -rf "$dir/corpus/$form"
  mkdir -p "$dir/corpus/$form"
  status=0
  TARVELO_FUZZ_FORM=$form "$dir/tarvelo_fuzz" "$dir/corpus/$form" "$dir/seeds/$form" \
    -dict=tests/fuzz/chunks.dict -seed=1 -max_len=4096 -timeout=20 \
    -max_total_time="$seconds" -print_final_stats=1 \
    -artifact_prefix="$dir/findings/$form-" >"$dir/$form.log" 2>&1 || status=$?
  grep -E "DONE|stat::number_of_executed_units" "$dir/$form.log" || true
  if [ "$status" -ne 0 ]; then
    tail -60 "$dir/$form.log"
    echo "fuzzing $form found a fault (exit $status): the input is in $dir/findings/"
    exit 1
  fi
done
