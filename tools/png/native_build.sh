#!/bin/bash
# Builds the native companions of the PNG codec (reference tool, native dump, benchmark, fuzz target) into
# NATIVE_DIR and fetches the test-image suite into its cache.  usage: native_build.sh NATIVE_DIR
set -euo pipefail
HERE="$(cd "$(dirname "$0")" && pwd)"
OUT="${1:?native dir}"
mkdir -p "$OUT"
make -s -C "$HERE" OUT="$OUT" -j2 all fuzz
"$HERE/fetch_pngsuite.sh" >/dev/null
