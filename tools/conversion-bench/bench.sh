#!/usr/bin/env bash
# bench.sh BUILD_DIR [FILES] [ROUNDS]: makes FILES short clips (default 10) with Debian's ffmpeg, then
# under Wine converts them ROUNDS times (default 3) through the program's Convert action and, with the
# same command lines, in a plain CreateProcess loop, both through the program folder's encoder bridge.
# Prints every run and the mean wall-time ratio and hand-over times. Needs a running Wine session
# (scripts/wine-session.sh start BUILD_DIR).
set -euo pipefail
build=$(cd "$1" && pwd)
count=${2:-10}
rounds=${3:-3}
work=$(mktemp -d /tmp/orv-conversion-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir "$work/files"
ffmpeg -nostdin -v error -y -f lavfi -i testsrc=size=160x120:rate=25 -f lavfi -i sine=frequency=440 -t 2 \
  -c:v mpeg4 -b:v 200k -c:a libmp3lame -b:a 64k "$work/clip.avi"
for i in $(seq -w 1 "$count"); do cp "$work/clip.avi" "$work/files/clip$i.avi"; done
source "$build/session.env"
winpath() { echo "Z:$(echo "$1" | sed 's|/|\\|g')"; }
wine "$build/tools/conversion-bench.exe" "$(winpath "$build/Orvane")" "$(winpath "$work/files")" "$rounds"
tr -d '\r' < "$work/files/bench.txt" | tee "$build/conversion-bench.txt"
tr -d '\r' < "$work/files/bench.txt" | awk '
  $2 == "driver" { dw += $4; ds += $5; dh += $6; dm = ($7 > dm ? $7 : dm); df += $8; n++ }
  $2 == "loop"   { lw += $4; ls += $5; lh += $6; lm = ($7 > lm ? $7 : lm); lf += $8 }
  END {
    if (n == 0 || lw == 0) { print "no complete round"; exit 1 }
    printf "rounds: %d, failures: driver %d, loop %d\n", n, df, lf
    printf "wall time, mean ms:     driver %.0f, loop %.0f, ratio %.3f\n", dw / n, lw / n, dw / lw
    printf "encoder span, mean ms:  driver %.0f, loop %.0f, ratio %.3f\n", ds / n, ls / n, ds / ls
    printf "hand-over, mean ms:     driver %.1f (worst %.1f), loop %.1f (worst %.1f)\n", dh / n, dm, lh / n, lm
  }'
