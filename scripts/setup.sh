#!/usr/bin/env bash
# Shared set-up of run.sh and test.sh: installs what is missing, configures, builds and lays out
# the program folder build/app/ (data files only where they are missing).
#   scripts/setup.sh --packages   only installs what is missing (package.sh builds on its own)
set -euo pipefail

# mdbtools-dev (libmdb, with pkg-config to find it): the tests read every Jet file a second time
# through it, to compare with the program's own reader; the build works without it.
PACKAGES=(qt6-base-dev libqt6sql6-sqlite qt6-translations-l10n cmake ninja-build g++ fonts-arphic-uming
          fonts-arphic-ukai fonts-wqy-microhei pkg-config mdbtools-dev
          # passwords are stored as Argon2id strings (crypto_pwhash_str)
          libsodium-dev
          # the Debian package (./package.sh) and its checks in ./test.sh
          dpkg-dev librsvg2-bin lintian desktop-file-utils appstream devscripts shellcheck
          # Excel files of the reports; their PDF and xlsx read back by the tests
          libxlsxwriter-dev poppler-utils unzip
          # a font with the characters beyond the Basic Multilingual Plane (𠀀, 𡈽) for the reports
          fonts-hanazono)

# shellcheck source=scripts/packages.sh
source "$(dirname "$0")/packages.sh"
install_missing "${PACKAGES[@]}"
[ "${1:-}" = "--packages" ] && exit 0

generator=()
command -v ninja >/dev/null 2>&1 && generator=(-G Ninja)
if [ ! -f build/CMakeCache.txt ]; then
    debian_build_flags
    cmake -S . -B build "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
# CI sets LUMNO_WERROR=ON: there a warning fails the build; on a user's machine it never does.
if [ -n "${LUMNO_WERROR:-}" ]; then
    cmake -S . -B build -DLUMNO_WERROR="${LUMNO_WERROR}" >/dev/null
fi
cmake --build build -j "$(nproc 2>/dev/null || echo 2)"
