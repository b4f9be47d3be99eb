#!/usr/bin/env bash
# bench.sh BUILD_DIR [COUNT]: makes COUNT media files (copies of three small ffmpeg clips), times
# Debian's mediainfo reading them all, then the program adding them all to its file list under Wine,
# and prints both times and their ratio. Needs a running Wine session (scripts/wine-session.sh).
set -euo pipefail
build=$(cd "$1" && pwd)
count=${2:-1000}
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
wine "$build/tools/filelist-bench.exe" "$(winpath "$build/Orvane")" "$(winpath "$work/files")"
read -r files listed ms library_ms < <(tr -d '\r' < "$work/files/bench.txt")
echo "files: $files, listed: $listed"
echo "Debian mediainfo: ${mi_ms%.*} ms"
echo "Orvane AddFiles under Wine: ${ms%.*} ms"
echo "of which the media library alone (ReadMediaValues): ${library_ms%.*} ms"
echo "ratio (Orvane / mediainfo): $(echo "scale=2; $ms / $mi_ms" | bc)"
