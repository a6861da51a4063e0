#!/usr/bin/env bash
# Makes the README's screenshots: the program's start-up runs offscreen on its Qt host, and
# the contents (without title bar) of its main window, after a conversion and while a file
# is dragged over it, of a progress window and of the About window are grabbed into
# docs/screenshots/ by the one test that runs only when TARVELO_SCREENSHOTS is set.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh
cmake -S . -B build/screenshots -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/screenshots -j "$(nproc)" --target tarvelo_tests
mkdir -p docs/screenshots
QT_QPA_PLATFORM=offscreen TARVELO_SCREENSHOTS="$PWD/docs/screenshots" \
  build/screenshots/tarvelo_tests --gtest_filter=QtProgram.Screenshots --gtest_brief=1
ls docs/screenshots
