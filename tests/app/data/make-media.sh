#!/bin/sh
# make-media.sh DIR: writes small real media files into DIR with Debian's ffmpeg, then asks Debian's
# mediainfo for every "Kind;Parameter" line of DIR/params.txt about every file, one answer per line
# in DIR/expected.txt as "file|Kind;Parameter|value" (no line where the file has no such stream).
set -e
dir=$1
cd "$dir"
gen="ffmpeg -nostdin -v error -y"
video="-f lavfi -i testsrc=size=320x240:rate=25"
audio="-f lavfi -i sine=frequency=440:sample_rate=44100"
$gen $video $audio -t 2 -c:v mpeg4 -b:v 300k -c:a libmp3lame -b:a 128k -ac 2 clip.avi
$gen $video $audio -t 2 -c:v libx264 -preset ultrafast -c:a aac -b:a 96k -ac 2 clip.mp4
$gen $audio -t 2 -c:a libmp3lame -b:a 128k -ac 2 clip.mp3
$gen $audio -t 2 -c:a pcm_s16le -ac 1 -ar 22050 clip.wav
head -c 8192 /dev/urandom > random.avi
: > expected.txt
# One mediainfo run per file and stream kind; each answer is marked with its parameter.
tr -d '\r' < params.txt > params.lf
for file in clip.avi clip.mp4 clip.mp3 clip.wav random.avi; do
  for kind in General Video Audio; do
    inform="$kind;"
    while IFS= read -r line; do
      [ "${line%%;*}" = "$kind" ] || continue
      inform="$inform@@${line#*;}=%${line#*;}%\\n"
    done < params.lf
    [ "$inform" = "$kind;" ] && continue
    mediainfo --Inform="$inform" "$file" | tr -d '\r' | sed -n "s/^@@\([^=]*\)=\(.*\)$/$file|$kind;\1|\2/p" >> expected.txt
  done
done
