#!/usr/bin/env bash
# Installs what is missing, builds, lays out build/app/ and starts the program inside it.
# ./run.sh --no-start does everything but the start.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/setup.sh

[ "${1:-}" = "--no-start" ] && { echo "Program folder ready: build/app/"; exit 0; }

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "There is no display to show the program on; on a machine without one, start it as: xvfb-run -a ./run.sh (xvfb-run comes with the package xvfb)." >&2
    exit 1
fi
cd build/app
exec ./lumno
