#!/bin/sh
# make-clip.sh FILE: a 3-second 320x240 clip at 25 frames/s with stereo sound (MPEG-4 video, MP3).
set -e
ffmpeg -nostdin -v error -y -f lavfi -i testsrc=size=320x240:rate=25 \
  -f lavfi -i sine=frequency=440:sample_rate=44100 -t 3 \
  -c:v mpeg4 -b:v 400k -c:a libmp3lame -b:a 128k -ac 2 "$1"
