#!/usr/bin/env bash
# The same set-up as run.sh and test.sh, then the Debian package: build/lumno_1.0.0_amd64.deb.
# Install it with: sudo apt install ./build/lumno_1.0.0_amd64.deb
set -euo pipefail
cd "$(dirname "$0")"
./scripts/setup.sh
cpack --config build/CPackConfig.cmake -G DEB -B build
rm -rf build/_CPack_Packages
ls build/*.deb
