#!/bin/bash
# Conformance of the PNG codec with the PNG test-image suite against the libpng reference tool.
# usage: suite_test.sh NATIVE_DIR native
#        suite_test.sh NATIVE_DIR wine LAUNCHER PNGDUMP_EXE
# The native tools must have been built into NATIVE_DIR (native_build.sh).
set -euo pipefail
HERE="$(cd "$(dirname "$0")" && pwd)"
SRC="$(cd "$HERE/../.." && pwd)"
NATIVE="${1:?native dir}"
MODE="${2:?native or wine}"
SUITE="$("$HERE/fetch_pngsuite.sh")"
WORK="$NATIVE/suite_$MODE"
rm -rf "$WORK"
if [ "$MODE" = wine ]; then
  DUMP="$3 $4"
  PREFIX="Z:"
else
  DUMP="$NATIVE/pngdump_native"
  PREFIX=""
fi
python3 "$HERE/compare_suite.py" --dump "$DUMP" --path-prefix "$PREFIX" --reference "$NATIVE/png_reference" \
  --suite "$SUITE" --work "$WORK" --errors "$SRC/tests/widgets/data/png_errors"
