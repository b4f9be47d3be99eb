#!/usr/bin/env bash
# Sets up the machine, builds Orvane and its tests, and runs every test under Wine and Xvfb.
# Arguments are passed to ctest (for example: -R engine). At the end it prints how long each stage took.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
build="${BUILD_DIR:-build}"
mkdir -p "$build"
build=$(cd "$build" && pwd)

stages=()
stage() { # stage NAME COMMAND...: runs the command and notes its time
  local name=$1 start=$SECONDS
  shift
  "$@"
  stages+=("$(printf '%-14s %5d s' "$name" $((SECONDS - start)))")
}
report() {
  local code=$? line
  [ -n "${session_started:-}" ] && scripts/wine-session.sh stop "$build"
  echo
  echo "Stage times:"
  for line in "${stages[@]}"; do echo "  $line"; done
  printf '  %-14s %5d s\n' total "$SECONDS"
  exit "$code"
}
trap report EXIT

stage setup scripts/setup.sh --no-library
stage library scripts/build-mediainfo.sh
stage build scripts/build.sh "$build"
stage session scripts/wine-session.sh start "$build"
session_started=1
source "$build/session.env"
stage tests ctest --test-dir "$build" --output-on-failure --timeout 600 -j "$(nproc)" \
  --resource-spec-file "$build/slots/resources.json" "$@"
