#!/bin/sh
# make-media.sh DIR: writes small real media files into DIR with Debian's ffmpeg, then asks Debian's
# mediainfo for every "Kind;Parameter" line of DIR/params.txt about every file, one answer per line
# in DIR/expected.txt as "file|Kind;Parameter|value".
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
for file in clip.avi clip.mp4 clip.mp3 clip.wav random.avi; do
  while IFS= read -r line; do
    line=$(printf '%s' "$line" | tr -d '\r')
    [ -n "$line" ] || continue
    kind=${line%%;*}
    param=${line#*;}
    value=$(mediainfo --Inform="$kind;%$param%" "$file" | tr -d '\r\n')
    printf '%s|%s|%s\n' "$file" "$line" "$value" >> expected.txt
  done < params.txt
done
