#!/usr/bin/env bash
# Sets up the machine, builds Orvane and starts it under Wine. With no $DISPLAY it runs on a virtual
# display, saves a screenshot to BUILD/screenshot.png after a few seconds and closes the program.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
build="${BUILD_DIR:-build}"
scripts/setup.sh
scripts/build.sh "$build"
headless=0
[ -z "${DISPLAY:-}" ] && headless=1
ORV_GUI_SLOTS=0 scripts/wine-session.sh start "$build"
trap '"$top/scripts/wine-session.sh" stop "$top/$build"' EXIT
source "$build/session.env"
cd "$build/Orvane"
if [ "$headless" = 0 ]; then
  wine Orvane.exe
else
  wine Orvane.exe &
  program=$!
  sleep "${ORV_SCREENSHOT_DELAY:-15}"
  import -window root "$top/$build/screenshot.png" && echo "screenshot: $build/screenshot.png"
  kill "$program" 2>/dev/null || true
  wait "$program" 2>/dev/null || true
fi
