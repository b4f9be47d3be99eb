#!/usr/bin/env bash
# bench.sh BUILD_DIR [FILES] [ROUNDS]: makes FILES short clips (default 10) with Debian's ffmpeg, then
# under Wine converts them ROUNDS times (default 3) through the program's Convert action and, with the
# same command lines, in a plain CreateProcess loop, both through the program folder's encoder bridge.
# Prints every run and the mean wall-time ratio and hand-over times. The loop's encoders write to NUL;
# ORV_BENCH_LOOP_OUTPUT=pipe makes the loop read their output through a pipe, as the program does.
# Needs a running Wine session (scripts/wine-session.sh start BUILD_DIR).
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
# Xvfb runs no window manager, and Wine waits up to 2 s for one whenever a managed window is hidden or
# destroyed (the progress window at the end of each batch). That wait is no time of the program, so the
# run uses unmanaged windows (ORV_BENCH_MANAGED=1 keeps the prefix's setting); the setting is restored.
x11key='HKCU\Software\Wine\X11 Driver'
if [ "${ORV_BENCH_MANAGED:-0}" != 1 ]; then
  old_managed=$(wine reg query "$x11key" /v Managed 2>/dev/null | tr -d '\r' | awk '$1 == "Managed" { print $3 }' || true)
  wine reg add "$x11key" /v Managed /d N /f >/dev/null 2>&1
  restore_managed() {
    if [ -n "$old_managed" ]; then
      wine reg add "$x11key" /v Managed /d "$old_managed" /f >/dev/null 2>&1
    else
      wine reg delete "$x11key" /v Managed /f >/dev/null 2>&1
    fi
    rm -rf "$work"
  }
  trap restore_managed EXIT
fi
winpath() { echo "Z:$(echo "$1" | sed 's|/|\\|g')"; }
wine "$build/tools/conversion-bench.exe" "$(winpath "$build/Orvane")" "$(winpath "$work/files")" "$rounds"
tr -d '\r' < "$work/files/bench.txt" | tee "$build/conversion-bench.txt"
tr -d '\r' < "$work/files/bench.txt" | awk '
  $2 == "driver" { dw[$1] = $4; ds[$1] = $5; dh += $6; dm = ($7 > dm ? $7 : dm); dg += $8; df += $9; n++ }
  $2 == "loop"   { lw[$1] = $4; ls[$1] = $5; lh += $6; lm = ($7 > lm ? $7 : lm); lg += $8; lf += $9 }
  function median(a, k,   i, j, t) {  # a[1..k]
    for (i = 2; i <= k; i++) { t = a[i]; for (j = i - 1; j >= 1 && a[j] > t; j--) a[j + 1] = a[j]; a[j + 1] = t }
    return k % 2 ? a[(k + 1) / 2] : (a[k / 2] + a[k / 2 + 1]) / 2
  }
  END {
    if (n == 0) { print "no complete round"; exit 1 }
    for (r in dw) { k++; wr[k] = dw[r] / lw[r]; sr[k] = ds[r] / ls[r]; tdw += dw[r]; tlw += lw[r]; tds += ds[r]; tls += ls[r] }
    printf "rounds: %d, failed files: driver %d, loop %d\n", n, df, lf
    printf "wall time, mean ms:        driver %.0f, loop %.0f; ratio of sums %.3f, median of round ratios %.3f\n", tdw / n, tlw / n, tdw / tlw, median(wr, k)
    printf "encoder span, mean ms:     driver %.0f, loop %.0f; ratio of sums %.3f, median of round ratios %.3f\n", tds / n, tls / n, tds / tls, median(sr, k)
    printf "hand-over, mean ms:        driver %.1f (worst %.1f), loop %.1f (worst %.1f)\n", dh / n, dm, lh / n, lm
    printf "exit to next creation, ms: driver %.1f, loop %.1f\n", dg / n, lg / n
  }'
