#!/bin/bash
# The long fuzz run by hand: runs the 32-bit fuzz targets under Wine for SECONDS each (default 300),
# mutating until the time is up, with a seed of their own (default: the time of day, printed, so a run
# can be repeated) and a hang limit of 30 s per input. Inputs that fail are kept in BUILD/fuzz-artifacts.
# Needs a built tree (scripts/build.sh BUILD) and a Wine session (scripts/wine-session.sh start BUILD).
# usage: run_long.sh BUILD [SECONDS] [SEED] [TARGET...]   targets: png png_picture bitmap skin_lzh
#        skin_pack skin_ini language profile (default all)
set -uo pipefail
HERE="$(cd "$(dirname "$0")" && pwd)"
BUILD="$(cd "${1:?build dir}" && pwd)"
SECONDS_EACH="${2:-300}"
SEED="${3:-$(date +%s)}"
shift $(( $# < 3 ? $# : 3 ))
TARGETS=("$@")
[ ${#TARGETS[@]} -gt 0 ] || TARGETS=(png png_picture bitmap skin_lzh skin_pack skin_ini language profile)
export WINEPREFIX="$BUILD/wineprefix" WINEDEBUG=-all
[ -f "$BUILD/session.env" ] && . "$BUILD/session.env"
echo "seed $SEED, $SECONDS_EACH s per target"
failed=0
for t in "${TARGETS[@]}"; do
  args=()
  while IFS= read -r a; do
    case "$a" in
      -runs=*) args+=(-runs=0 -max_total_time="$SECONDS_EACH" -timeout=30) ;;
      -seed=*) args+=(-seed="$SEED") ;;
      ?*) args+=("$a") ;;
    esac
  done < "$BUILD/tools/fuzz/$t.args"
  echo "== $t"
  (cd "$BUILD/tools/fuzz" && "$HERE/../../scripts/wine-run.sh" "./fuzz_$t.exe" "${args[@]}") || failed=1
done
exit $failed
