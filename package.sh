#!/usr/bin/env bash
# Installs what is missing, then builds the Debian package in a tree of its own, with only what it
# ships (no tests, no benchmarks), Debian's hardening flags and a fixed time stamp, so that two
# builds of one commit in any two folders give the same bytes: build-package/lumno_<version>_amd64.deb.
# Install it with: sudo apt install ./build-package/lumno_*_amd64.deb
set -euo pipefail
cd "$(dirname "$0")"
./scripts/setup.sh --packages

# The time of the last commit (or of the newest changelog entry outside a checkout) stands for
# "now" in every time stamp the build writes.
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2>/dev/null || dpkg-parsechangelog -l packaging/changelog -STimestamp)
fi
export SOURCE_DATE_EPOCH
source scripts/packages.sh
debian_build_flags

out=build-package
generator=()
command -v ninja >/dev/null 2>&1 && generator=(-G Ninja)
rm -rf "$out"
cmake -S . -B "$out" "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF -DLUMNO_BENCH=OFF >/dev/null
cmake --build "$out" -j "$(nproc 2>/dev/null || echo 2)"
cpack --config "$out/CPackConfig.cmake" -G DEB -B "$out" >/dev/null
rm -rf "$out/_CPack_Packages"
ls "$out"/*.deb
