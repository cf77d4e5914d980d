#!/usr/bin/env bash
# The same set-up as run.sh, then every test (offscreen). Its exit status is the tests' verdict.
set -euo pipefail
cd "$(dirname "$0")"
./scripts/setup.sh
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure -j 2 "$@"
