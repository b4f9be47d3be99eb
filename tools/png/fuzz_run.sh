#!/bin/bash
# Builds the libFuzzer target of the PNG core natively and runs it on a seed corpus (the error fixtures and
# the suite) for SECONDS (default 30). Exit code non-zero when the fuzzer found a crash, leak or hang.
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
rm -rf "$SEEDS"
mkdir -p "$SEEDS" "$CORPUS" "$OUT/fuzz_artifacts"
cp "$SRC"/tests/widgets/data/png_errors/*.png "$SUITE"/pngsuite/*.png "$SUITE"/crashers/*.png "$SEEDS"/
cd "$OUT"
# -rss_limit_mb bounds what one input may take; -timeout catches hangs.
ASAN_OPTIONS=detect_leaks=1 "$OUT/png_fuzz" -max_total_time="$SECONDS_TO_RUN" -timeout=10 -rss_limit_mb=1024 \
    -max_len=65536 -print_final_stats=1 -artifact_prefix="$OUT/fuzz_artifacts/" \
    "$CORPUS" "$SEEDS" 2>&1 | tail -n 25
