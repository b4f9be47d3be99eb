#!/usr/bin/env bash
# Builds the media-information library that the program loads as "videoinfo.Dll": Debian's sources of
# ZenLib and MediaInfoLib, cross-compiled with MinGW into one stand-alone 32-bit DLL (C++ runtime, libgcc,
# winpthreads and zlib linked in, so it imports system DLLs only).
#
#   build-mediainfo.sh [DEST_DIR]
#
# The result is kept in /var/cache/orvane/<versions>/videoinfo.Dll and copied to
# /var/cache/orvane/videoinfo.Dll (and to DEST_DIR when given). A second run with the same source
# versions only copies. ORV_CACHE overrides the cache folder.
set -euo pipefail

# Raise when the way the DLL is built changes, so cached builds are not reused.
recipe=1
cache="${ORV_CACHE:-/var/cache/orvane}"
dest="${1:-}"
mkdir -p "$cache"

src_list=/etc/apt/sources.list.d/orvane-src.sources
has_deb_src() {
  grep -rqsE '^(deb-src|Types:.*deb-src)' /etc/apt/sources.list /etc/apt/sources.list.d/ 2>/dev/null
}
src_version() { # newest source version apt knows for a package; empty when apt knows none (yet)
  { apt-cache showsrc --only-source "$1" 2>/dev/null || true; } | sed -n 's/^Version: //p' | sort -V | tail -n1
}

if ! has_deb_src; then
  cat > "$src_list" <<'EOF'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
fi
mi_ver=$(src_version libmediainfo)
zen_ver=$(src_version libzen)
if [ -z "$mi_ver" ] || [ -z "$zen_ver" ]; then
  # The source lists are fetched only by an update; a failing mirror is reported below.
  apt-get update -q >/dev/null || echo "build-mediainfo: apt-get update failed" >&2
  mi_ver=$(src_version libmediainfo)
  zen_ver=$(src_version libzen)
fi
[ -n "$mi_ver" ] && [ -n "$zen_ver" ] || { echo "build-mediainfo: no source package of libmediainfo/libzen" >&2; exit 1; }

key="videoinfo-mediainfo_${mi_ver}-zen_${zen_ver}-r${recipe}"
key=${key//[:~+]/_}
out="$cache/$key/videoinfo.Dll"

publish() {
  cp -f "$out" "$cache/videoinfo.Dll.tmp" && mv -f "$cache/videoinfo.Dll.tmp" "$cache/videoinfo.Dll"
  if [ -n "$dest" ]; then mkdir -p "$dest" && cp -f "$out" "$dest/videoinfo.Dll"; fi
}
if [ -f "$out" ]; then
  publish
  exit 0
fi

echo "build-mediainfo: building videoinfo.Dll from libmediainfo $mi_ver and libzen $zen_ver"
work=$(mktemp -d /tmp/orvane-mediainfo.XXXXXX)
[ -n "${ORV_KEEP_WORK:-}" ] || trap 'rm -rf "$work"' EXIT

# Only the upstream tarballs are used; apt may fail on a Debian patch file that is gone from the
# mirror, so its exit code alone does not decide.
srcdir="$cache/src"
mkdir -p "$srcdir"
find_tarballs() {
  zen_tar=$(ls "$srcdir"/libzen_"${zen_ver%-*}".orig.tar.* 2>/dev/null | head -n1)
  mi_tar=$(ls "$srcdir"/libmediainfo_"${mi_ver%-*}".orig.tar.* 2>/dev/null | head -n1)
  [ -n "$zen_tar" ] && [ -n "$mi_tar" ]
}
for try in 1 2 3; do
  ( cd "$srcdir" && apt-get source --download-only libzen libmediainfo >"$work/apt.log" 2>&1 ) || true
  find_tarballs && break
  # Lists fetched long ago may name files the mirror no longer has.
  sleep $((try * 5))
  apt-get update -q >/dev/null 2>&1 || true
done
if ! find_tarballs; then
  cat "$work/apt.log" >&2
  echo "build-mediainfo: could not fetch the upstream sources" >&2
  exit 1
fi
tar -xf "$zen_tar" -C "$work"
tar -xf "$mi_tar" -C "$work"

# The stock .def numbers its exports with ordinals that clash ("ordinal used twice"): export by name
# only. JNI_OnLoad exists only in Java builds.
def="$work/MediaInfoLib/Source/MediaInfoDLL/MediaInfoDLL.def"
sed -i -e 's/[[:space:]]*@[0-9]\+//' -e '/JNI_OnLoad/d' "$def"

cat > "$work/toolchain.cmake" <<'EOF'
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
EOF

# The stock link line switches back to dynamic linking after zlib (-Wl,-Bdynamic), which would make
# the compiler's own libraries (winpthread) DLL imports again: end the line in static mode.
win_libs="-lkernel32 -luser32 -lgdi32 -lshell32 -lole32 -loleaut32 -luuid -lcomdlg32 -ladvapi32"
generator=()
command -v ninja >/dev/null && generator=(-G Ninja)
cmake -S "$work/MediaInfoLib/Project/CMake" -B "$work/build" "${generator[@]}" \
  -DCMAKE_TOOLCHAIN_FILE="$work/toolchain.cmake" \
  -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_C_FLAGS_RELEASE="-O2 -DNDEBUG" \
  -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
  -DCMAKE_SHARED_LINKER_FLAGS="-static -static-libgcc -static-libstdc++ -s" \
  -DCMAKE_CXX_STANDARD_LIBRARIES="$win_libs -Wl,-Bstatic" \
  -DBUILD_SHARED_LIBS=ON -DBUILD_ZENLIB=ON -DBUILD_ZLIB=OFF \
  -DZLIB_INCLUDE_DIR=/usr/i686-w64-mingw32/include \
  -DZLIB_LIBRARY=/usr/i686-w64-mingw32/lib/libz.a \
  -DCMAKE_DISABLE_FIND_PACKAGE_CURL=ON -DCMAKE_DISABLE_FIND_PACKAGE_TinyXML=ON \
  >"$work/configure.log" 2>&1 || { cat "$work/configure.log" >&2; exit 1; }
cmake --build "$work/build" --target mediainfo -j "$(nproc)" >"$work/build.log" 2>&1 \
  || { tail -n 60 "$work/build.log" >&2; exit 1; }

dll=$(find "$work/build" -maxdepth 1 -iname '*mediainfo*.dll' | head -n1)
[ -n "$dll" ] || { echo "build-mediainfo: no DLL was produced" >&2; exit 1; }

# The DLL must stand alone in the program folder: only system DLLs may be imported, and the ANSI
# interface must be exported.
imports=$(i686-w64-mingw32-objdump -p "$dll" | sed -n 's/^[[:space:]]*DLL Name: //p')
for name in $imports; do
  case "${name,,}" in
    kernel32.dll|user32.dll|advapi32.dll|shell32.dll|ole32.dll|oleaut32.dll|msvcrt.dll|ws2_32.dll|gdi32.dll|shlwapi.dll|version.dll|comdlg32.dll) ;;
    api-ms-win-*) ;;
    *) echo "build-mediainfo: the DLL imports $name" >&2; exit 1 ;;
  esac
done
exports=$(i686-w64-mingw32-objdump -p "$dll")
for fn in MediaInfoA_New MediaInfoA_Open MediaInfoA_Get MediaInfoA_Inform MediaInfoA_Option MediaInfoA_Close MediaInfoA_Delete; do
  grep -qw "$fn" <<<"$exports" || { echo "build-mediainfo: $fn is not exported" >&2; exit 1; }
done

mkdir -p "$cache/$key"
cp "$dll" "$out.tmp" && mv "$out.tmp" "$out"
publish
echo "build-mediainfo: $out"
