#!/bin/sh
# make-odd-sources.sh FOLDER: 1-second sources with what real-world files bring and some encoders
# refuse: odd.mkv 161x121 at 23.976 frames/s with six-channel sound at 48 kHz; mono8k.avi 170x98
# at 15 frames/s with mono sound at 8 kHz; stereo11k.avi 122x90 at 25 frames/s with stereo at 11025 Hz.
set -e
cd "$1"
make() {  # NAME SIZE RATE SAMPLE_RATE CHANNELS AUDIO_CODEC
  ffmpeg -nostdin -v error -y -f lavfi -i "testsrc=size=$2:rate=$3:duration=1" \
    -f lavfi -i "sine=frequency=440:sample_rate=$4:duration=1" -ac "$5" -c:v mpeg4 -q:v 5 -c:a "$6" "$1"
}
make odd.mkv 161x121 24000/1001 48000 6 ac3
make mono8k.avi 170x98 15 8000 1 pcm_s16le
make stereo11k.avi 122x90 25 11025 2 pcm_s16le
