#!/usr/bin/env bash
# build.sh BUILD_DIR: configures and builds the program folder, the tools and the tests.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build="${1:-build}"
cmake -S "$top" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j "$(nproc)"
