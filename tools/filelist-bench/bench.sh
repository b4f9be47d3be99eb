#!/usr/bin/env bash
# bench.sh BUILD_DIR [COUNT] [ROUNDS]: makes COUNT media files (copies of three small ffmpeg clips), times
# Debian's mediainfo reading them all, then, ROUNDS times in turn, the media library alone reading them
# one after the other and the program adding them all to its file list under Wine; prints the medians.
# Needs a running Wine session (scripts/wine-session.sh).
set -euo pipefail
build=$(cd "$1" && pwd)
count=${2:-1000}
rounds=${3:-5}
work=$(mktemp -d /tmp/orv-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
gen="ffmpeg -nostdin -v error -y"
$gen -f lavfi -i testsrc=size=320x240:rate=25 -f lavfi -i sine=frequency=440 -t 1 -c:v mpeg4 -c:a libmp3lame "$work/a.avi"
$gen -f lavfi -i testsrc=size=320x240:rate=25 -f lavfi -i sine=frequency=440 -t 1 -c:v libx264 -preset ultrafast -c:a aac "$work/b.mp4"
$gen -f lavfi -i sine=frequency=440 -t 1 -c:a libmp3lame "$work/c.mp3"
mkdir "$work/files"
for i in $(seq 1 "$count"); do
  case $((i % 3)) in 0) src=a.avi ext=avi ;; 1) src=b.mp4 ext=mp4 ;; 2) src=c.mp3 ext=mp3 ;; esac
  cp "$work/$src" "$work/files/clip$i.$ext"
done
start=$(date +%s.%N)
mediainfo "$work"/files/* > /dev/null
end=$(date +%s.%N)
mi_ms=$(echo "($end - $start) * 1000" | bc)
source "$build/session.env"
winpath() { echo "Z:$(echo "$1" | sed 's|/|\\|g')"; }
wine "$build/tools/filelist-bench.exe" "$(winpath "$build/Orvane")" "$(winpath "$work/files")" "$rounds"
read -r files listed ms library_ms ratio < <(tr -d '\r' < "$work/files/bench.txt")
echo "files: $files, listed: $listed"
echo "Debian mediainfo: ${mi_ms%.*} ms"
echo "Orvane AddFiles under Wine: ${ms%.*} ms (median of $rounds rounds)"
echo "the media library alone, one file after the other (ReadMediaValues): ${library_ms%.*} ms"
echo "ratio (AddFiles / library alone, median of the rounds): $ratio"
echo "ratio (Orvane / mediainfo): $(echo "scale=2; $ms / $mi_ms" | bc)"
