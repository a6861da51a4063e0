#!/usr/bin/env bash
# Builds Tarvelo and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh
cmake -S . -B build/release -G Ninja -DCMAKE_BUILD_TYPE=Release -DTARVELO_TESTS=OFF >/dev/null
cmake --build build/release -j "$(nproc)" --target tarvelo
exec build/release/tarvelo
