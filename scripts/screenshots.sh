#!/usr/bin/env bash
# Makes the README's screenshots: the program starts offscreen on its Qt host, and its main
# window (after a conversion, and while a file is dragged over it), a progress window and
# the About window are grabbed into docs/screenshots/.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh
cmake -S . -B build/screenshots -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/screenshots -j "$(nproc)" --target tarvelo_tests
mkdir -p docs/screenshots
QT_QPA_PLATFORM=offscreen TARVELO_SCREENSHOTS="$PWD/docs/screenshots" \
  build/screenshots/tarvelo_tests --gtest_filter='QtProgram.Screenshot*' --gtest_brief=1
ls docs/screenshots
