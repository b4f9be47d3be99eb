#!/usr/bin/env bash
# encoder-options_test.sh EMULATOR EXE DATA-DIR (DATA-DIR in Windows form, with a trailing backslash)
# Runs the console tool under Wine and compares its whole output byte for byte.
set -uo pipefail
emulator=$1 exe=$2 data=$3
failed=0

check() {  # check EXPECTED-STATUS EXPECTED-STDOUT ARGS...
  local status=$1 expected=$2
  shift 2
  local out actual rc want
  out=$(mktemp)
  "$emulator" "$exe" "$@" >"$out" 2>/dev/null
  rc=$?
  actual=$(od -An -c "$out")
  rm -f "$out"
  want=$(printf '%s' "$expected" | od -An -c)
  if [ "$rc" != "$status" ] || [ "$actual" != "$want" ]; then
    echo "FAIL: encoder-options $*"
    echo "  status $rc (want $status)"
    echo "  got:  $actual"
    echo "  want: $want"
    failed=1
  fi
}

nl=$'\r\n'
check 0 "-y -f avi -vcodec msmpeg4 -b 1080k -r 25 -acodec mp3 -ac 2 -ab 96 -ar 22050 $nl" 0 'Z:\no\such\profile.avo'
check 0 "-y -f wav -vn -acodec pcm_s16le -ac 2 -ar 44100 $nl" 15 'Z:\no\such\profile.wao'
check 0 "-y -f avi  -t 0:01:30.500 -ss 0:00:10.000 -sameq -vcodec xvid -s 720x400 -b 1500k -r 23.976 -aspect 16:9 -acodec ac3 -ac 5:1 -ar 48000 -ab 448 $nl" \
  0 "${data}options_avi_tuned.avo"
check 0 "-y -f mp3 -vn -acodec mp3 -ac 1 -ab 64 -ar 22050 $nl" 13 "${data}options_mp3_injected.mpo"
check 0 "-y -target pal-dvd -b 9600k -aspect 16:9 -ab 192 $nl" 3 "${data}options_mpeg_pal_dvd.mpo"
check 2 "" 16 'Z:\no\such\profile.avo'
check 2 "" x 'Z:\no\such\profile.avo'
check 2 "" 0
exit $failed
