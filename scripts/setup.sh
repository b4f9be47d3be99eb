#!/usr/bin/env bash
# Installs everything Orvane needs to build, run and test on a Debian 12 machine (as root).
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
  build-essential dpkg-dev pkg-config
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  if ! dpkg --print-foreign-architectures | grep -qx i386; then dpkg --add-architecture i386; fi
  apt-get update -q
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# 32-bit Linux programs (Wine's 32-bit side) must be able to run. Some virtual machines have no
# 32-bit compatibility mode; there the i386 side runs under qemu's user-mode emulator instead.
"$here/scripts/enable-i386.sh"

# Debian's source packages that the build compiles for Windows.
[ -x "$here/scripts/build-mediainfo.sh" ] && "$here/scripts/build-mediainfo.sh"
exit 0
