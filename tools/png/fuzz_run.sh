#!/bin/bash
# Builds the libFuzzer targets of the PNG core natively and runs each on a seed corpus (the error fixtures and
# the suite) for SECONDS (default 30): the decoder's, then the writer's (bitmaps and decoded files written
# and read back). Exit code non-zero when a fuzzer found a crash, leak, hang or writer fault.
# usage: fuzz_run.sh BUILD_DIR [SECONDS]
set -euo pipefail
HERE="$(cd "$(dirname "$0")" && pwd)"
SRC="$(cd "$HERE/../.." && pwd)"
OUT="${1:?build dir}"
SECONDS_TO_RUN="${2:-${PNG_FUZZ_SECONDS:-30}}"
mkdir -p "$OUT"
make -s -C "$HERE" OUT="$OUT" fuzz
SUITE="$("$HERE/fetch_pngsuite.sh")"
SEEDS="$OUT/fuzz_seeds"
CORPUS="$OUT/fuzz_corpus"
WRITE_CORPUS="$OUT/fuzz_write_corpus"
rm -rf "$SEEDS"
mkdir -p "$SEEDS" "$CORPUS" "$WRITE_CORPUS" "$OUT/fuzz_artifacts"
cp "$SRC"/tests/widgets/data/png_errors/*.png "$SUITE"/pngsuite/*.png "$SUITE"/crashers/*.png "$SEEDS"/
cd "$OUT"
# -rss_limit_mb bounds what one input may take; -timeout catches hangs.
for target in png_fuzz:"$CORPUS" png_write_fuzz:"$WRITE_CORPUS"; do
  echo "== ${target%%:*}"
  ASAN_OPTIONS=detect_leaks=1 "$OUT/${target%%:*}" -max_total_time="$SECONDS_TO_RUN" -timeout=10 \
      -rss_limit_mb=1024 -max_len=65536 -print_final_stats=1 -artifact_prefix="$OUT/fuzz_artifacts/" \
      "${target#*:}" "$SEEDS" 2>&1 | tail -n 25
done
