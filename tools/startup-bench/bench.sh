#!/usr/bin/env bash
# bench.sh BUILD_DIR [ROUNDS]: copies the program folder to a scratch folder (the program writes its
# options and profile folders there), then under Wine starts the program and the minimal window program
# ROUNDS times each (default 5) and prints every run and the medians: the time to the main window
# taking input, the splash window's time on screen, and the ratio of the program's time less its splash
# to the minimal program's. Needs a running Wine session (scripts/wine-session.sh start BUILD_DIR).
set -euo pipefail
build=$(cd "$1" && pwd)
rounds=${2:-5}
work=$(mktemp -d /tmp/orv-startup-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
cp -r "$build/Orvane" "$work/program"
cp "$build/tools/startup-minimal.exe" "$work/minimal.exe"
source "$build/session.env"
winpath() { echo "Z:$(echo "$1" | sed 's|/|\\|g')"; }
wine "$build/tools/startup-bench.exe" "$(winpath "$work/program/Orvane.exe")" TfrmMain TfrmSplash \
  "$(winpath "$work/minimal.exe")" "$rounds" "$(winpath "$work/bench.txt")"
tr -d '\r' < "$work/bench.txt" | tee "$build/startup-bench.txt"
tr -d '\r' < "$work/bench.txt" | awk '
  function median(a, k,   i, j, t) {  # a[1..k]
    for (i = 2; i <= k; i++) { t = a[i]; for (j = i - 1; j >= 1 && a[j] > t; j--) a[j + 1] = a[j]; a[j + 1] = t }
    return k % 2 ? a[(k + 1) / 2] : (a[k / 2] + a[k / 2 + 1]) / 2
  }
  $2 == "program" && $3 >= 0 { p++; pr[p] = $3; ps[p] = $4; pn[p] = $5 }
  $2 == "minimal" && $3 >= 0 { m++; mr[m] = $3 }
  END {
    if (!p || !m) { print "no complete run"; exit 1 }
    printf "program: ready %.0f ms, splash on screen %.0f ms, ready less splash %.0f ms (medians of %d)\n", median(pr, p), median(ps, p), median(pn, p), p
    printf "minimal: ready %.0f ms (median of %d)\n", median(mr, m), m
    printf "ratio (program less splash / minimal): %.2f\n", median(pn, p) / median(mr, m)
  }'
