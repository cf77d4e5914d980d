#!/usr/bin/env bash
# Shared set-up of run.sh and test.sh: installs what is missing, configures, builds and lays out
# the program folder build/app/ (data files only where they are missing).
set -euo pipefail

PACKAGES=(qt6-base-dev libqt6sql6-sqlite cmake ninja-build g++ fonts-arphic-uming fonts-arphic-ukai
          fonts-wqy-microhei)

source "$(dirname "$0")/packages.sh"
install_missing "${PACKAGES[@]}"

generator=()
command -v ninja >/dev/null 2>&1 && generator=(-G Ninja)
if [ ! -f build/CMakeCache.txt ]; then
    cmake -S . -B build "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build build -j "$(nproc 2>/dev/null || echo 2)"
