#!/bin/sh
# make-streamless-sources.sh FOLDER: 1-second sources with a picture and no sound, or sound and no
# picture: silent.avi 170x98 at 15 frames/s; silent.mkv 161x121 at 23.976 frames/s; sound.mp3 stereo
# at 44.1 kHz; mono8k.wav mono at 8 kHz; six.ac3 six channels at 48 kHz.
set -e
cd "$1"
ffmpeg -nostdin -v error -y -f lavfi -i "testsrc=size=170x98:rate=15:duration=1" -c:v mpeg4 -q:v 5 silent.avi
ffmpeg -nostdin -v error -y -f lavfi -i "testsrc=size=161x121:rate=24000/1001:duration=1" -c:v mpeg4 -q:v 5 silent.mkv
ffmpeg -nostdin -v error -y -f lavfi -i "sine=frequency=440:sample_rate=44100:duration=1" -ac 2 -c:a libmp3lame -b:a 128k sound.mp3
ffmpeg -nostdin -v error -y -f lavfi -i "sine=frequency=440:sample_rate=8000:duration=1" -ac 1 -c:a pcm_s16le mono8k.wav
ffmpeg -nostdin -v error -y -f lavfi -i "sine=frequency=440:sample_rate=48000:duration=1" -ac 6 -c:a ac3 six.ac3
