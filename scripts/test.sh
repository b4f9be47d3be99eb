#!/usr/bin/env bash
# Sets up the machine, builds Orvane and its tests, and runs every test under Wine and Xvfb.
# Arguments are passed to ctest (for example: -R engine).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
build="${BUILD_DIR:-build}"
scripts/setup.sh
scripts/build.sh "$build"
scripts/wine-session.sh start "$build"
trap 'scripts/wine-session.sh stop "$build"' EXIT
source "$build/session.env"
jobs=$(nproc)
ctest --test-dir "$build" --output-on-failure --timeout 600 -j "$jobs" "$@"
