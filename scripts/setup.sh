#!/usr/bin/env bash
# Installs everything Orvane needs to build, run and test on a Debian 12 machine (as root), then builds
# the media library (not with --no-library).
# Safe to run again: each step checks first and is quick when already done.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)

need_root() { [ "$(id -u)" = 0 ] || { echo "setup.sh must run as root" >&2; exit 1; }; }
need_root

packages=(
  g++-mingw-w64-i686 libz-mingw-w64-dev cmake make googletest
  wine wine32:i386 wine64 wine32-preloader:i386 wine64-preloader
  xvfb xauth x11-apps imagemagick xdotool
  ffmpeg mediainfo libopencore-amrnb-dev libvo-amrwbenc-dev
  qemu-user-static
  libpng-dev zlib1g-dev clang libclang-rt-14-dev
  build-essential dpkg-dev pkg-config procps
  # The fonts the windows are drawn with beside Wine's own, so screenshots do not depend on what else
  # a machine happens to have.
  fonts-dejavu-core
  # Wine's own fonts; the Wine prefixes take Marlett from it (scripts/wine-session.sh).
  fonts-wine
)

# Runs an apt command up to three times: a mirror that stumbles once must not end the setup.
with_retries() {
  local try
  for try in 1 2 3; do
    "$@" && return 0
    echo "setup: '$*' failed (try $try of 3)" >&2
    sleep $((try * 5))
  done
  return 1
}

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  if ! dpkg --print-foreign-architectures | grep -qx i386; then dpkg --add-architecture i386; fi
  # Fetching the lists again before each try also mends lists that name versions the mirror has dropped.
  with_retries sh -c 'apt-get update -q && DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "$@"' \
    install "${missing[@]}"
fi

# 32-bit Linux programs (Wine's 32-bit side) must be able to run. Some virtual machines have no
# 32-bit compatibility mode; there the i386 side runs under qemu's user-mode emulator instead.
"$here/scripts/enable-i386.sh"

# Debian's source packages that the build compiles for Windows (scripts/test.sh builds them as a stage
# of its own).
[ "${1:-}" = --no-library ] || "$here/scripts/build-mediainfo.sh"
exit 0
