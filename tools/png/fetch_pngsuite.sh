#!/bin/bash
# Fetch the PNG test-image suite from Debian's libpng source package and cache it outside the repository.
# Prints the cache folder: pngsuite/ (the suite), testpngs/ (libpng's own test images), crashers/ (broken files
# that once crashed libpng).  Usage: fetch_pngsuite.sh [cache-dir]
set -euo pipefail
CACHE="${1:-${PNGSUITE_CACHE:-/var/cache/orvane/pngsuite}}"
if [ -f "$CACHE/.complete" ]; then echo "$CACHE"; exit 0; fi

SUDO=""; [ "$(id -u)" = 0 ] || SUDO=sudo
if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ && ! grep -qs '^deb-src' /etc/apt/sources.list; then
  $SUDO tee /etc/apt/sources.list.d/orvane-deb-src.sources >/dev/null <<'SRC'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  $SUDO apt-get update -qq >&2
fi

WORK="$(mktemp -d)"
trap 'rm -rf "$WORK"' EXIT
( cd "$WORK" && apt-get source --download-only -qq libpng1.6 >&2 ) || {
  $SUDO apt-get update -qq >&2; ( cd "$WORK" && apt-get source --download-only -qq libpng1.6 >&2 ); }
ORIG="$(ls "$WORK"/libpng1.6_*.orig.tar.* | head -n1)"
mkdir -p "$WORK/x"
tar -xf "$ORIG" -C "$WORK/x" --wildcards '*/contrib/pngsuite/*' '*/contrib/testpngs/*'
CONTRIB="$(dirname "$(ls -d "$WORK"/x/*/contrib/pngsuite)")"
mkdir -p "$CACHE/pngsuite" "$CACHE/testpngs" "$CACHE/crashers"
cp "$CONTRIB"/pngsuite/*.png "$CACHE/pngsuite/"
cp "$CONTRIB"/testpngs/*.png "$CACHE/testpngs/"
cp "$CONTRIB"/testpngs/crashers/*.png "$CACHE/crashers/"
touch "$CACHE/.complete"
echo "$CACHE"
