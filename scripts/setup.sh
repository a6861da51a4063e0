#!/usr/bin/env bash
# Installs, with apt-get, the Debian packages that building and testing need and that are
# missing. Sourced by start.sh, test.sh and fuzz.sh (which adds clang to the list first).
set -euo pipefail
tarvelo_packages=(cmake ninja-build g++ libgtest-dev qt6-base-dev fonts-dejavu-core ${tarvelo_extra_packages[@]+"${tarvelo_extra_packages[@]}"})
tarvelo_missing=()
for p in "${tarvelo_packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || tarvelo_missing+=("$p")
done
if ((${#tarvelo_missing[@]})); then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  echo "Installing: ${tarvelo_missing[*]}"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${tarvelo_missing[@]}"
fi
